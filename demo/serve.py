#!/usr/bin/env python3
"""The demo's feed server: HTTP on 127.0.0.1 only, on a port the system picks.

  serve.py FEEDS_DIR STATE_DIR [LIFETIME_SECONDS]

Writes STATE_DIR/port (the port it serves on) and STATE_DIR/dead_port (a port that
was free a moment ago, for the demo's unreachable channel), then serves:
  /feeds/NAME        a feed of FEEDS_DIR, with @PORT@ replaced by the port
  /articles/NAME     a small page standing for the article
It stops by itself after LIFETIME_SECONDS (default 300).
"""
import http.server
import os
import socket
import sys
import threading


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Handler(http.server.BaseHTTPRequestHandler):
    feeds = "."

    def do_GET(self):
        path = self.path.split("?", 1)[0]
        port = str(self.server.server_address[1])
        if path.startswith("/feeds/"):
            name = os.path.basename(path)
            try:
                with open(os.path.join(self.feeds, name), "rb") as f:
                    body = f.read().replace(b"@PORT@", port.encode())
            except OSError:
                self.send_error(404)
                return
            self.reply(body, "application/xml")
        elif path.startswith("/articles/"):
            name = os.path.basename(path) or "index"
            page = ("<!DOCTYPE html><meta charset='utf-8'><title>%s</title>"
                    "<p>The article %s of the screen saver demo would be here.</p>" % (name, name))
            self.reply(page.encode(), "text/html; charset=utf-8")
        else:
            self.send_error(404)

    def reply(self, body, kind):
        self.send_response(200)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    feeds, state = sys.argv[1], sys.argv[2]
    lifetime = float(sys.argv[3]) if len(sys.argv) > 3 else 300.0
    Handler.feeds = feeds
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    os.makedirs(state, exist_ok=True)
    with open(os.path.join(state, "dead_port"), "w") as f:
        f.write("%d\n" % free_port())
    with open(os.path.join(state, "port.tmp"), "w") as f:
        f.write("%d\n" % server.server_address[1])
    os.replace(os.path.join(state, "port.tmp"), os.path.join(state, "port"))
    threading.Timer(lifetime, server.shutdown).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
