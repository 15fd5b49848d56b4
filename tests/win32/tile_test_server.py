#!/usr/bin/env python3
"""A z/x/y tile server on 127.0.0.1 for the Win32 map window's tests, as
tests/gui/tile_test_server.h is for the Qt one: PNG tiles of one plain
colour each, cacheable for an hour; every request recorded with its
User-Agent; answers held back a while on request, to count how many are
open at once; and misbehaving as servers have been seen to: bodies that
never end or far too long, bytes that are no picture, pictures far too
large, redirects in a loop, errors.

The tests steer it through its own paths:
  /behave/NAME   answer tiles so from now on (tiles, large, endless, huge-length,
                 not-image, declared-huge, huge-picture, redirect-loop,
                 server-error, missing)
  /delay/MS      hold each answer back MS milliseconds
  /requests      the tile requests so far, "PATH<TAB>USER-AGENT" a line
  /most-open     the most tile requests it answered at once
  /clear         forgets the requests

Usage: tile_test_server.py   (prints the port, then serves until killed)
"""
import http.server
import re
import struct
import sys
import threading
import time
import zlib

TILE_PATH = re.compile(r"^/(\d+)/(\d+)/(\d+)\.png$")
state = {"behaviour": "tiles", "delay": 0.0, "requests": [], "open": 0, "most": 0}
lock = threading.Lock()


def chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(width, height, row):
    """A PNG of `height` equal rows, each `row` (filter byte included)."""
    header = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(row * height, 9)) + chunk(b"IEND", b""))


def colour(z, x, y):
    """The colour of tile z/x/y, as the tests compute it."""
    return (40 + (z * 37) % 200, 40 + (x * 53) % 200, 40 + (y * 71) % 200)


def tile(z, x, y, side):
    return png(side, side, b"\0" + bytes(colour(z, x, y)) * side)


def mono_png(side):
    """A PNG of one-bit pixels: small however large its side."""
    header = struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0)
    row = b"\0" + b"\0" * ((side + 7) // 8)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(row * side, 9)) + chunk(b"IEND", b""))


def declared_png(side):
    """A PNG whose header (with its checksum) claims `side` pixels square."""
    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", side, side, 1, 0, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(b"\0\0" * 16, 9)) + chunk(b"IEND", b""))


def random_bytes(size, seed=99):
    out = bytearray(size)
    for i in range(size):
        seed = (seed * 1664525 + 1013904223) & 0xFFFFFFFF
        out[i] = seed >> 24
    return bytes(out)


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def send(self, status, body=b"", headers=()):
        self.send_response(status)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Connection", "close")
        self.end_headers()
        self.wfile.write(body)

    def control(self):
        path = self.path
        if path.startswith("/behave/"):
            state["behaviour"] = path[len("/behave/"):]
        elif path.startswith("/delay/"):
            state["delay"] = int(path[len("/delay/"):]) / 1000.0
        elif path == "/clear":
            with lock:
                state["requests"].clear()
                state["most"] = 0
        elif path == "/requests":
            with lock:
                lines = "".join(f"{p}\t{a}\n" for p, a in state["requests"])
            return self.send(200, lines.encode())
        elif path == "/most-open":
            return self.send(200, str(state["most"]).encode())
        else:
            return False
        self.send(200, b"ok")
        return True

    def stream(self, length=None):
        """A body without end (or of a huge length) until the client goes."""
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        if length is not None:
            self.send_header("Content-Length", str(length))
        self.send_header("Connection", "close")
        self.end_headers()
        piece = random_bytes(64 * 1024)
        for _ in range(2000):  # 128 MB at most, should the client never go
            self.wfile.write(piece)

    def answer(self, z, x, y):
        behaviour = state["behaviour"]
        ok = (("Content-Type", "image/png"), ("Cache-Control", "max-age=3600"))
        if behaviour in ("tiles", "large"):
            return self.send(200, tile(z, x, y, 256 if behaviour == "tiles" else 512), ok)
        if behaviour == "endless":
            self.close_connection = True
            return self.stream()
        if behaviour == "huge-length":
            return self.stream(50 * 1024 * 1024)
        if behaviour == "not-image":
            return self.send(200, random_bytes(2000), ok)
        if behaviour == "declared-huge":
            return self.send(200, declared_png(100000), ok)
        if behaviour == "huge-picture":
            return self.send(200, mono_png(5000), ok)
        if behaviour == "redirect-loop":
            return self.send(302, b"", (("Location", f"/hop{self.path}"),))
        if behaviour == "server-error":
            return self.send(500)
        return self.send(404)

    def do_GET(self):
        if self.control() is not False:
            return
        hop = self.path.startswith("/hop/")
        match = TILE_PATH.match(re.sub(r"^(/hop)+", "", self.path))
        if not match:
            return self.send(404)
        with lock:
            state["requests"].append((self.path, self.headers.get("User-Agent", "")))
            state["open"] += 1
            state["most"] = max(state["most"], state["open"])
        try:
            time.sleep(state["delay"])
            if hop and state["behaviour"] != "redirect-loop":
                return self.send(404)
            self.answer(*(int(n) for n in match.groups()))
        except (BrokenPipeError, ConnectionResetError, ConnectionAbortedError):
            pass  # the client let the request go
        finally:
            with lock:
                state["open"] -= 1

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    server.serve_forever()
