#!/usr/bin/env python3
"""HTTP server for the download tests.

Usage: http_server.py ROOT LOG

Serves the files below ROOT on 127.0.0.1 at a free port with HTTP/1.1
keep-alive and prints "PORT <n>" once it listens. Every request is appended
to LOG before it is answered: "REQUEST <connection number> <request line>",
then one line per header, then an empty line.

Paths under /fault/ script what a test needs from a bad server; SIZE is a
number of bytes of the pattern byte(i) = i % 251:
  /fault/nolength/SIZE   the body without Content-Length, then close
  /fault/drop/SIZE       Content-Length SIZE, half of the body, then close
  /fault/slow/SIZE       Content-Length SIZE, 8 KiB every 0.2 s
  /fault/page404         status 200 with a "404 Not Found" page
  /fault/status/CODE     status CODE with a short page that names no 404
  /fault/silent          reads the request and never answers
A file below ROOT whose name starts with "Slow" is sent like /fault/slow.
"""
import http.server
import itertools
import os
import sys
import threading
import time

ROOT, LOG = sys.argv[1], sys.argv[2]
log_lock = threading.Lock()
connections = itertools.count(1)


def pattern(size):
    return bytes(i % 251 for i in range(size))


class Handler(http.server.SimpleHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def __init__(self, *args, **kwargs):
        super().__init__(*args, directory=ROOT, **kwargs)

    def setup(self):
        super().setup()
        self.connection_number = next(connections)

    def log_message(self, *args):
        pass

    def record(self):
        lines = [f"REQUEST {self.connection_number} {self.requestline}"]
        lines += [f"{name}: {value}" for name, value in self.headers.items()]
        with log_lock, open(LOG, "a", encoding="utf-8") as log:
            log.write("\n".join(lines) + "\n\n")

    def do_GET(self):
        self.record()
        if self.path.startswith("/fault/"):
            self.fault(self.path[len("/fault/"):].split("/"))
        else:
            super().do_GET()

    def copyfile(self, source, outputfile):
        if os.path.basename(self.path).startswith("Slow"):
            for block in iter(lambda: source.read(8192), b""):
                outputfile.write(block)
                outputfile.flush()
                time.sleep(0.2)
            return
        # The kernel copies the file to the socket: the server stays out of
        # the way when the benchmark measures the client.
        outputfile.flush()
        self.connection.sendfile(source)

    def do_HEAD(self):
        self.record()
        super().do_HEAD()

    def body(self, code, data, length=True, close=False):
        self.send_response(code)
        self.send_header("Content-Type", "application/octet-stream")
        if length:
            self.send_header("Content-Length", str(len(data)))
        if close or not length:
            self.send_header("Connection", "close")
            self.close_connection = True
        self.end_headers()

    def fault(self, parts):
        kind = parts[0]
        size = int(parts[1]) if len(parts) > 1 and parts[1].isdigit() else 0
        if kind == "nolength":
            data = pattern(size)
            self.body(200, data, length=False)
            self.wfile.write(data)
        elif kind == "drop":
            data = pattern(size)
            self.body(200, data, close=True)
            self.wfile.write(data[: size // 2])
            self.wfile.flush()
            self.close_connection = True
        elif kind == "slow":
            data = pattern(size)
            self.body(200, data)
            for start in range(0, size, 8192):
                self.wfile.write(data[start:start + 8192])
                self.wfile.flush()
                time.sleep(0.2)
        elif kind == "page404":
            data = b"<html><title>404 Not Found</title><body>gone</body></html>"
            self.body(200, data)
            self.wfile.write(data)
        elif kind == "status":
            data = b"<html><body>The server could not do that.</body></html>"
            self.body(size, data)
            self.wfile.write(data)
        elif kind == "silent":
            time.sleep(60)
            self.close_connection = True
        else:
            self.send_error(400)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that hangs up early is part of the tests


def main():
    server = Server(("127.0.0.1", 0), Handler)
    print(f"PORT {server.server_address[1]}", flush=True)
    server.serve_forever(poll_interval=0.1)


if __name__ == "__main__":
    main()
