#!/usr/bin/env python3
"""A z/x/y tile server on 127.0.0.1 for the map screenshots: every tile a
light see-through tint of its own with a grid line at its edges, so that the
picture shows where the tiles lie and the offline land beneath them.
Cacheable for an hour, like real tiles.

Usage: screenshot_tile_server.py PORT
"""
import http.server
import re
import struct
import sys
import zlib

TILE = 256


def png(width, height, pixel):
    """An RGBA PNG whose pixel (x, y) is pixel(x, y) -> (r, g, b, a)."""
    rows = b"".join(b"\0" + bytes(c for x in range(width) for c in pixel(x, y))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def tile(z, x, y):
    base = (120 + (x * 37) % 100, 120 + (y * 53) % 100, 160 + (z * 17) % 80, 40)
    grid = (90, 100, 120, 160)
    return png(TILE, TILE, lambda px, py: grid if px == 0 or py == 0 else base)


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        match = re.fullmatch(r"/(\d+)/(\d+)/(\d+)\.png", self.path)
        if not match:
            self.send_error(404)
            return
        body = tile(*(int(n) for n in match.groups()))
        self.send_response(200)
        self.send_header("Content-Type", "image/png")
        self.send_header("Cache-Control", "max-age=3600")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        try:
            self.wfile.write(body)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the map moved on and cancelled the request

    def log_message(self, *args):
        pass


if __name__ == "__main__":
    http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Handler).serve_forever()
