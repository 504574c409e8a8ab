#!/usr/bin/env python3
"""The demo web application that `make run` shows, served on 127.0.0.1.

It answers the client's update check with the client's own version, so the
client does not hand over to the updater, and serves a login page that uses
the client's page functions, a help page for the page's "new window" link,
and a report address the page tells how it got on (logged, so that whoever
started the demo can see from outside that the page ran inside the client).

Usage: server.py PORT_FILE  -- listens on a free port and writes it to
PORT_FILE once it is ready to answer.
"""
import http.server
import json
import os
import socket
import sys
import urllib.parse

LOCAL_VERSION = "1.0.0.0"
HERE = os.path.dirname(os.path.abspath(__file__))
# Nothing the client sends us is anywhere near this; a larger body is refused
# before it is read.
MAX_BODY = 1 << 20


def reserve_refused_port():
    """A loopback port that refuses every connection for the server's life.

    A socket that is bound but never listens holds the port, so no other
    program can take it, and the system refuses connections to it: the page's
    broken link fails the same way on every run.
    """
    holder = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    holder.bind(("127.0.0.1", 0))
    return holder


class DemoHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    refused_port = 0

    def log_message(self, format, *args):
        sys.stderr.write("demo: " + (format % args) + "\n")
        sys.stderr.flush()

    def reply(self, status, content_type, body, extra_headers=()):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-store")
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def read_body(self):
        """The request body, or None after replying 400/413 to a bad one."""
        text = self.headers.get("Content-Length", "0") or "0"
        try:
            length = int(text)
        except ValueError:
            length = -1
        if length < 0:
            self.reply(400, "text/plain; charset=utf-8", b"bad Content-Length")
            self.close_connection = True
            return None
        if length > MAX_BODY:
            self.reply(413, "text/plain; charset=utf-8", b"body too large")
            self.close_connection = True
            return None
        return self.rfile.read(length)

    def page(self, name):
        with open(os.path.join(HERE, name), "rb") as f:
            body = f.read()
        body = body.replace(b"__REFUSED_PORT__", str(self.refused_port).encode())
        self.reply(200, "text/html; charset=utf-8", body)

    def do_POST(self):
        if self.read_body() is None:
            return
        path = urllib.parse.urlsplit(self.path).path
        if path.endswith("/common/checkVersions.jhtml"):
            body = json.dumps({"version": LOCAL_VERSION, "upFiles": []}).encode()
            self.reply(200, "application/json; charset=utf-8", body)
        else:
            self.reply(404, "text/plain; charset=utf-8", b"not found")

    def do_GET(self):
        parts = urllib.parse.urlsplit(self.path)
        path = parts.path
        if path.endswith("/login.jhtml"):
            self.page("login.html")
        elif path.endswith("/help.jhtml"):
            self.page("help.html")
        elif path.endswith("/report"):
            query = urllib.parse.parse_qs(parts.query)
            event = query.get("event", [""])[0]
            detail = query.get("detail", [""])[0]
            # One line per report, with no line breaks of the page's making,
            # so that the log stays one event to a line.
            detail = " ".join(detail.split())
            sys.stderr.write("demo: page %s %s\n" % (" ".join(event.split()), detail))
            sys.stderr.flush()
            self.reply(204, "text/plain; charset=utf-8", b"")
        elif path in ("", "/"):
            self.reply(302, "text/plain; charset=utf-8", b"",
                       [("Location", "/app/login.jhtml")])
        else:
            self.reply(404, "text/plain; charset=utf-8", b"not found")

    do_HEAD = do_GET


def main():
    if len(sys.argv) != 2:
        sys.stderr.write("usage: server.py PORT_FILE\n")
        return 2
    holder = reserve_refused_port()
    DemoHandler.refused_port = holder.getsockname()[1]
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), DemoHandler)
    server.daemon_threads = True
    # Written whole under another name first, so that a reader never sees
    # half a number.
    temporary = sys.argv[1] + ".tmp"
    with open(temporary, "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(temporary, sys.argv[1])
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        holder.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
