#!/usr/bin/env python3
"""FTP server for the download tests (pyftpdlib).

Usage: ftp_server.py ROOT LOG [USER PASSWORD]

Serves ROOT read-only on 127.0.0.1 at a free port, anonymously and, when
given, to USER with PASSWORD; prints "PORT <n>" once it listens. Appends to
LOG "CONNECT <n>" for every new control connection and "<n> <command line>"
for every command received on it (passwords included: they are test data).

A file whose name starts with "Drop" is served as a bad server would: the
transfer breaks off after half of the file (the data connection is closed
and the server replies 426).
"""
import errno
import itertools
import logging
import os
import sys
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.filesystems import AbstractedFS
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer

ROOT, LOG = sys.argv[1], sys.argv[2]
log_lock = threading.Lock()
connections = itertools.count(1)


def record(line):
    with log_lock, open(LOG, "a", encoding="utf-8") as log:
        log.write(line + "\n")


class DroppingFile:
    """Reads half of a file, then fails as a broken disk or peer would.

    It has no fileno(), so the server sends it with plain writes (sendfile
    would bypass read())."""

    def __init__(self, path):
        self._file = open(path, "rb")
        self._left = os.path.getsize(path) // 2
        self.name = path

    @property
    def closed(self):
        return self._file.closed

    def read(self, size=-1):
        if self._left <= 0:
            raise OSError(errno.EIO, "dropped in the middle")
        data = self._file.read(self._left if size < 0 else min(size, self._left))
        self._left -= len(data)
        return data

    def seek(self, *args):
        return self._file.seek(*args)

    def tell(self):
        return self._file.tell()

    def close(self):
        self._file.close()


class FaultFS(AbstractedFS):
    def open(self, filename, mode):
        if "r" in mode and os.path.basename(filename).startswith("Drop"):
            return DroppingFile(filename)
        return super().open(filename, mode)


class Handler(FTPHandler):
    def on_connect(self):
        self.connection_number = next(connections)
        record(f"CONNECT {self.connection_number}")

    def pre_process_command(self, line, cmd, arg):
        record(f"{self.connection_number} {line}")
        super().pre_process_command(line, cmd, arg)


def main():
    # A handler of our own keeps pyftpdlib from logging to the terminal.
    logger = logging.getLogger("pyftpdlib")
    logger.addHandler(logging.NullHandler())
    logger.setLevel(logging.CRITICAL)
    logger.propagate = False
    authorizer = DummyAuthorizer()
    authorizer.add_anonymous(ROOT)
    if len(sys.argv) >= 5:
        authorizer.add_user(sys.argv[3], sys.argv[4], ROOT, perm="elr")
    Handler.authorizer = authorizer
    Handler.abstracted_fs = FaultFS
    Handler.banner = "wenmoor test server ready."
    Handler.auth_failed_timeout = 0  # refuse a bad password at once
    server = FTPServer(("127.0.0.1", 0), Handler)
    print(f"PORT {server.socket.getsockname()[1]}", flush=True)
    server.serve_forever(timeout=0.1)


if __name__ == "__main__":
    main()
