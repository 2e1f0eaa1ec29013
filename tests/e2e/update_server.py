"""A small HTTP server for the updater's tests, on 127.0.0.1 only, run on a
thread of the test process and shut down by the test.

Each path maps to a reply: (status, body) or a callable taking the handler.
Every request's path is recorded in order, and its headers beside it. A path
may also be set to stall: the server accepts the request and never answers
until released."""
import http.server
import threading
import time


class UpdateServer:
    def __init__(self):
        self.routes = {}
        self.requests = []
        self.headers = []  # (path, {header name in lower case: value}) in order
        self.release = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                server.requests.append(self.path)
                server.headers.append((self.path, {k.lower(): v for k, v in self.headers.items()}))
                reply = server.routes.get(self.path)
                if reply is None:
                    reply = (404, b"not here")
                if reply == "stall":
                    server.release.wait(120)
                    return
                if callable(reply):
                    reply(self)
                    return
                status, body = reply
                self.send_response(status)
                self.send_header("Content-Type", "application/octet-stream")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.httpd.daemon_threads = True
        self.port = self.httpd.server_address[1]
        self.base = "http://127.0.0.1:%d" % self.port
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path):
        return self.base + path

    def stop(self):
        self.release.set()
        self.httpd.shutdown()
        self.httpd.server_close()
        self.thread.join(10)


def truncated(body, declared):
    """A reply that announces `declared` bytes and sends only `body`."""
    def reply(handler):
        handler.send_response(200)
        handler.send_header("Content-Length", str(declared))
        handler.end_headers()
        handler.wfile.write(body)
        handler.wfile.flush()
    return reply


def paced(body, chunk, interval, log=None):
    """A whole reply sent `chunk` bytes at a time, `interval` seconds apart: a
    slow but steady link. `log` (a list) gets the time of the first and the
    last byte."""
    def reply(handler):
        handler.send_response(200)
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        for start in range(0, len(body), chunk):
            if start and interval:
                time.sleep(interval)
            handler.wfile.write(body[start:start + chunk])
            handler.wfile.flush()
            if log is not None and (start == 0 or start + chunk >= len(body)):
                log.append(time.monotonic())
    return reply


def stalls_after(body, declared, server):
    """A reply that announces `declared` bytes, sends `body` and then nothing
    until the server is stopped: a link that stalls halfway."""
    send = truncated(body, declared)

    def reply(handler):
        send(handler)
        server.release.wait(600)
    return reply


def with_headers(status, body, headers):
    """A reply with extra headers, such as a cookie to set."""
    def reply(handler):
        handler.send_response(status)
        for name, value in headers.items():
            handler.send_header(name, value)
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        handler.wfile.write(body)
    return reply


def ini_text(sections):
    """An INI text in code page 949, as the update list is served."""
    lines = []
    for section, values in sections.items():
        lines.append("[%s]" % section)
        for key, value in values.items():
            lines.append("%s=%s" % (key, value))
    return ("\r\n".join(lines) + "\r\n").encode("cp949")
