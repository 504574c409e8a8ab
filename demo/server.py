#!/usr/bin/env python3
"""The demo web application that `make run` shows, served on 127.0.0.1.

It answers the client's update check with the client's own version, so the
client does not hand over to the updater, and serves a login page.

Usage: server.py PORT_FILE  -- listens on a free port and writes it to
PORT_FILE once it is ready to answer.
"""
import http.server
import json
import os
import sys

LOCAL_VERSION = "1.0.0.0"
HERE = os.path.dirname(os.path.abspath(__file__))


class DemoHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, format, *args):
        sys.stderr.write("demo: " + (format % args) + "\n")

    def reply(self, status, content_type, body):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        length = int(self.headers.get("Content-Length", "0") or 0)
        self.rfile.read(length)
        if self.path.split("?")[0].endswith("/common/checkVersions.jhtml"):
            body = json.dumps({"version": LOCAL_VERSION, "upFiles": []}).encode()
            self.reply(200, "application/json; charset=utf-8", body)
        else:
            self.reply(404, "text/plain; charset=utf-8", b"not found")

    def do_GET(self):
        if self.path.split("?")[0].endswith("/login.jhtml"):
            with open(os.path.join(HERE, "login.html"), "rb") as f:
                self.reply(200, "text/html; charset=utf-8", f.read())
        else:
            self.reply(404, "text/plain; charset=utf-8", b"not found")


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), DemoHandler)
    with open(sys.argv[1], "w") as f:
        f.write(str(server.server_address[1]))
    server.serve_forever()


if __name__ == "__main__":
    main()
