#!/usr/bin/env python3
"""A web server that is not the game's, for the HTTP client's tests: Python's own HTTP server.

Usage: net_http_peer.py FOLDER
Serves the files of FOLDER to GET requests. A POST must be a well-formed form post: the declared
Content-Type, a Content-Length that matches the body, the two bytes CR LF that the game puts
before its form, then name=value pairs that a strict form parser accepts. The answer lists the
fields, one "name=hex of the value's bytes" a line, or is an error status. Prints its port on the
first line of its output, and stops by itself after a minute.
"""
import functools
import http.server
import os
import sys
import threading
import urllib.parse


class Handler(http.server.SimpleHTTPRequestHandler):
    def do_POST(self):
        if self.request_version != "HTTP/1.0" or "Host" not in self.headers:
            self.send_error(400, "HTTP/1.0 with a Host line expected")
            return
        if self.headers.get("Content-Type") != "application/x-www-form-urlencoded":
            self.send_error(415, "form expected")
            return
        length = int(self.headers.get("Content-Length", "-1"))
        body = self.rfile.read(length) if length >= 0 else b""
        if length < 2 or len(body) != length or not body.startswith(b"\r\n"):
            self.send_error(400, "bad form body")
            return
        try:
            fields = urllib.parse.parse_qsl(body[2:].decode("ascii"), keep_blank_values=True,
                                            strict_parsing=True, encoding="latin-1", errors="strict")
        except (ValueError, UnicodeDecodeError) as error:
            self.send_error(400, "form does not parse: %s" % error)
            return
        answer = "".join("%s=%s\n" % (name, value.encode("latin-1").hex()) for name, value in fields)
        data = answer.encode("latin-1")
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def log_message(self, format, *args):
        pass


def main():
    threading.Timer(60, lambda: os._exit(0)).start()
    handler = functools.partial(Handler, directory=sys.argv[1])
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
