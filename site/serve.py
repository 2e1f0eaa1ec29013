#!/usr/bin/env python3
"""Serves the local pages of the product web site on 127.0.0.1.

Every host name of the site (main host, bare domain, download host) points at
this one server, so a build made with those hosts set to 127.0.0.1:<port>
shows these pages. Paths are those of the real site; ".php" pages are plain
HTML here. Prints "port <n>" once it listens.
"""
import argparse
import http.server
import os
import sys

SITE = os.path.dirname(os.path.abspath(__file__))

TYPES = {
    ".html": "text/html; charset=utf-8",
    ".php": "text/html; charset=utf-8",
    ".js": "application/javascript; charset=utf-8",
    ".css": "text/css; charset=utf-8",
}


class Pages(http.server.SimpleHTTPRequestHandler):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=SITE, **kwargs)

    def guess_type(self, path):
        return TYPES.get(os.path.splitext(path)[1].lower(), "application/octet-stream")

    def list_directory(self, path):
        self.send_error(404)
        return None

    def send_head(self):
        # The server's own script is not a page of the site.
        if os.path.basename(self.translate_path(self.path)) == os.path.basename(__file__):
            self.send_error(404)
            return None
        return super().send_head()

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, format, *args):
        sys.stderr.write("%s %s\n" % (self.log_date_time_string(), format % args))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0, help="port on 127.0.0.1 (0: any free port)")
    args = parser.parse_args()
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Pages)
    print("port %d" % server.server_address[1], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()


if __name__ == "__main__":
    main()
