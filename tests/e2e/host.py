"""The test host: the site on 127.0.0.1 with the MIME types a page needs
and the strict Content Security Policy, which can misbehave as hosts do."""

import http.server
import os
import threading
import time

MIME_TYPES = {".wasm": "application/wasm", ".webp": "image/webp",
              ".webmanifest": "application/manifest+json", ".js": "text/javascript",
              ".mjs": "text/javascript", ".json": "application/json"}
# The policy the README gives a host to send, under which every test runs.
STRICT_CSP = ("default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; "
              "img-src 'self'; object-src 'none'; base-uri 'none'; form-action 'none'; "
              "frame-ancestors 'none'; require-trusted-types-for 'script'; trusted-types tarpo")
MONTH_S = 30 * 24 * 3600
HANG_S = 120  # a hung request's longest wait, should a test not release it
CHUNK = 1024


class Site(http.server.ThreadingHTTPServer):
    """The site on a free port, with the MIME types a page needs, sent with
    the strict CSP. `served` records every path asked for. Like hosts that
    get it wrong, it answers by a file's name in `faults` (see
    SiteHandler.fault); serves the site under a sub-path `prefix`, and its
    index.html there without the trailing slash too; sends `cache_control`,
    or none and files a month old (`aged`), as a host whose files were
    deployed a month ago; answers the site's folder with a redirect to its
    index.html (`redirect`); sends at most `rate` bytes a second, all
    responses together. `root` may change, as in a deploy. `offline` drops
    every request unanswered, as a network that is gone."""

    def __init__(self, root):
        super().__init__(("127.0.0.1", 0), SiteHandler)
        self.root = root
        self.origin = "http://127.0.0.1:%d" % self.server_address[1]
        self.served = set()
        self.offline = False
        self.reset()
        threading.Thread(target=self.serve_forever, daemon=True).start()

    daemon_threads = True  # a hung response must not hold the suite's end

    def reset(self, faults=None, prefix="/", cache_control=None, aged=False, rate=None,
              redirect=False):
        """The host as it is to behave from now on; whatever still hangs goes."""
        if hasattr(self, "released"):
            self.released.set()
        self.faults, self.prefix, self.redirect = faults or {}, prefix, redirect
        self.cache_control, self.aged, self.rate = cache_control, aged, rate
        self.released = threading.Event()
        self.lock, self.next_send = threading.Lock(), 0.0

    def handle_error(self, request, client_address):
        pass  # a browser context closed while a file was on its way


class SiteHandler(http.server.SimpleHTTPRequestHandler):
    # As a static host serves: connections kept open, and a response's
    # header and body sent at once rather than the body held back until the
    # header's delayed acknowledgement (40 ms on loopback).
    protocol_version = "HTTP/1.1"
    disable_nagle_algorithm = True
    extensions_map = dict(http.server.SimpleHTTPRequestHandler.extensions_map, **MIME_TYPES)

    def __init__(self, request, client_address, server):
        super().__init__(request, client_address, server, directory=server.root)

    def fault(self, name):
        """What goes wrong with a file, by its name: {"status": 404},
        {"type": MIME}, {"body": bytes -> bytes}, {"hang": True} (until the
        test releases it), {"headers": {keyword: value}} sent besides the
        usual; "*.webp" for every file of a type, "*" for every file."""
        faults = self.server.faults
        kind = "*" + os.path.splitext(name)[1]
        return faults.get(name, faults.get(kind, faults.get("*", {})))

    def do_GET(self):
        self.directory = self.server.root  # a connection outlives a deploy
        self.name = ""
        path = self.path.split("?")[0]
        if self.server.offline:
            self.close_connection = True
            return
        self.server.served.add(path)
        prefix = self.server.prefix
        if path == prefix.rstrip("/") and prefix != "/":
            path = prefix + "index.html"  # as some hosts answer a folder without "/"
        if not path.startswith(prefix):
            return self.send_error(404)
        if path == prefix and self.server.redirect:
            self.send_response(301)
            self.send_header("Location", prefix + "index.html")
            self.send_header("Content-Length", "0")
            return self.end_headers()
        self.path = "/" + path[len(prefix):]
        self.name = path.rsplit("/", 1)[-1] or "index.html"
        fault = self.fault(self.name)
        if fault.get("hang"):
            self.server.released.wait(HANG_S)
        if "status" in fault:
            return self.send_error(fault["status"])
        if "body" not in fault:
            return super().do_GET()
        file = self.translate_path(self.path)
        if os.path.isdir(file):
            file = os.path.join(file, "index.html")
        with open(file, "rb") as f:
            body = fault["body"](f.read())
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(file))
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def guess_type(self, path):
        return self.fault(path.rsplit("/", 1)[-1]).get("type") or super().guess_type(path)

    def send_header(self, keyword, value):
        if keyword == "Last-Modified" and self.server.aged:
            value = self.date_time_string(time.time() - MONTH_S)
        super().send_header(keyword, value)

    def end_headers(self):
        self.send_header("Content-Security-Policy", STRICT_CSP)
        for keyword, value in self.fault(getattr(self, "name", "")).get("headers", {}).items():
            self.send_header(keyword, value)
        if self.server.cache_control:
            self.send_header("Cache-Control", self.server.cache_control)
        super().end_headers()

    def copyfile(self, source, outputfile):
        site = self.server
        if not site.rate:
            return super().copyfile(source, outputfile)
        while chunk := source.read(CHUNK):
            # Each chunk waits for its moment at `rate`, all responses together.
            with site.lock:
                due = max(time.monotonic(), site.next_send) + len(chunk) / site.rate
                site.next_send = due
            time.sleep(max(0.0, due - time.monotonic()))
            outputfile.write(chunk)
            outputfile.flush()

    def log_message(self, *args):
        pass
