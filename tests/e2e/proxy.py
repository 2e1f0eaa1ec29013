"""A logging web proxy on 127.0.0.1 for the end-to-end tests.

Point the Wine prefix's per-user proxy setting at it (web_helpers.py) and the
program's browser views send their page requests here: each request's
absolute address is logged (in memory and, when given, to a file, one per
line) and answered with a page of the local site (site/) when one exists at
that path, else with a small page naming the address. Nothing leaves the machine.

    proxy = LoggingProxy(log_path)
    port = proxy.start()
    ...
    proxy.wait_for("http://www.framlet.example/home/index.html?ver=5.0")
    proxy.stop()
"""
import argparse
import html
import http.server
import os
import sys
import threading
import time
import urllib.parse

SITE_DIR = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", "site"))
TYPES = {".html": "text/html; charset=utf-8", ".php": "text/html; charset=utf-8",
         ".js": "application/javascript; charset=utf-8", ".css": "text/css; charset=utf-8"}


class LoggingProxy:
    def __init__(self, log_path=None, site_dir=SITE_DIR):
        self.log_path = log_path
        self.site_dir = site_dir
        self._urls = []
        self._lock = threading.Condition()
        self._server = None
        self._thread = None

    @property
    def port(self):
        return self._server.server_address[1] if self._server else None

    def start(self, port=0):
        """Listens on 127.0.0.1 (any free port by default); returns the port."""
        proxy = self

        class Handler(_ProxyHandler):
            owner = proxy

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, name="logging-proxy", daemon=True)
        self._thread.start()
        return self.port

    def stop(self):
        if self._server:
            self._server.shutdown()
            self._server.server_close()
            self._thread.join(timeout=5)
            self._server = None

    def urls(self):
        """Every address requested so far, in order."""
        with self._lock:
            return list(self._urls)

    def clear(self):
        with self._lock:
            self._urls.clear()

    def wait_for(self, wanted, timeout=15.0):
        """Waits until an address equal to `wanted` (or one for which the callable
        `wanted` is true) was requested; returns that address or None."""
        match = wanted if callable(wanted) else (lambda url: url == wanted)
        deadline = time.time() + timeout
        with self._lock:
            while True:
                for url in self._urls:
                    if match(url):
                        return url
                left = deadline - time.time()
                if left <= 0:
                    return None
                self._lock.wait(left)

    def _record(self, url):
        with self._lock:
            self._urls.append(url)
            if self.log_path:
                with open(self.log_path, "a", encoding="utf-8") as f:
                    f.write(url + "\n")
            self._lock.notify_all()


class _ProxyHandler(http.server.BaseHTTPRequestHandler):
    owner = None  # the LoggingProxy, set by a subclass per server
    protocol_version = "HTTP/1.0"

    def log_message(self, format, *args):
        pass

    def _absolute_url(self):
        url = self.path if "://" in self.path else "http://%s%s" % (self.headers.get("Host", ""), self.path)
        # Wine writes the default port into the request line; the page's address has none.
        parts = urllib.parse.urlsplit(url)
        if parts.scheme == "http" and parts.port == 80:
            url = urllib.parse.urlunsplit(parts._replace(netloc=parts.hostname))
        return url

    def _answer(self, with_body):
        url = self._absolute_url()
        self.owner._record(url)
        body, kind = self._page(url)
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if with_body:
            self.wfile.write(body)

    def _page(self, url):
        path = urllib.parse.urlsplit(url).path or "/"
        if path.endswith("/"):
            path += "index.html"
        local = os.path.normpath(os.path.join(self.owner.site_dir, path.lstrip("/")))
        ext = os.path.splitext(local)[1].lower()
        if local.startswith(self.owner.site_dir + os.sep) and os.path.isfile(local) and ext in TYPES:
            with open(local, "rb") as f:
                return f.read(), TYPES[ext]
        text = html.escape(url)
        page = "<html><head><title>%s</title></head><body><p>%s</p></body></html>" % (text, text)
        return page.encode("utf-8"), "text/html; charset=utf-8"

    def do_GET(self):
        self._answer(True)

    def do_HEAD(self):
        self._answer(False)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0") or 0)
        if length:
            self.rfile.read(length)
        self._answer(True)

    def do_CONNECT(self):
        # Secure pages are not proxied; the address is still logged.
        self.owner._record("https://" + self.path)
        self.send_error(405)


def main():
    parser = argparse.ArgumentParser(description="Logging web proxy on 127.0.0.1 (Ctrl+C ends it)")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log", help="file that gets one requested address per line")
    args = parser.parse_args()
    proxy = LoggingProxy(args.log)
    print("port %d" % proxy.start(args.port), flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        proxy.stop()


if __name__ == "__main__":
    sys.exit(main())
