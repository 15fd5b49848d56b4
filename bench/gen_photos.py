#!/usr/bin/env python3
"""Writes N geotagged JPEG photos of SIZE bytes each into FOLDER: a JFIF
segment, an EXIF segment with a GPS position, the time taken and a camera,
then image data. The image data is a hole in a sparse file (zeros that take
no disk), which a reader of positions never reads anyway.

usage: gen_photos.py FOLDER [N] [SIZE]
"""
import os
import struct
import sys


def rational3(degrees):
    whole = int(degrees)
    minutes = int((degrees - whole) * 60)
    seconds = round(((degrees - whole) * 60 - minutes) * 60 * 10000)
    return struct.pack("<6I", whole, 1, minutes, 1, seconds, 10000)


def directory(offset, entries):
    """entries: (tag, type, count, bytes); values beyond 4 bytes after the table."""
    table = struct.pack("<H", len(entries))
    values = b""
    values_at = offset + 2 + 12 * len(entries) + 4
    for tag, kind, count, data in entries:
        if len(data) <= 4:
            table += struct.pack("<HHI", tag, kind, count) + data.ljust(4, b"\0")
        else:
            table += struct.pack("<HHII", tag, kind, count, values_at + len(values))
            values += data
    return table + struct.pack("<I", 0) + values


def ascii_entry(tag, text):
    data = text.encode() + b"\0"
    return (tag, 2, len(data), data)


def exif(lat, lon, taken):
    first = [ascii_entry(0x010F, "Velorin"), ascii_entry(0x0110, "Bench Camera"),
             (0x8769, 4, 1, b"\0" * 4), (0x8825, 4, 1, b"\0" * 4)]
    size0 = len(directory(8, first))
    exif_at = 8 + size0
    exif_dir = directory(exif_at, [ascii_entry(0x9003, taken)])
    gps_at = exif_at + len(exif_dir)
    first[2] = (0x8769, 4, 1, struct.pack("<I", exif_at))
    first[3] = (0x8825, 4, 1, struct.pack("<I", gps_at))
    gps = directory(gps_at, [ascii_entry(1, "N"), (2, 5, 3, rational3(lat)),
                             ascii_entry(3, "E"), (4, 5, 3, rational3(lon))])
    return b"II*\0" + struct.pack("<I", 8) + directory(8, first) + exif_dir + gps


def main():
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 5000
    size = int(sys.argv[3]) if len(sys.argv) > 3 else 8 * 1024 * 1024
    os.makedirs(folder, exist_ok=True)
    for i in range(count):
        tiff = exif(30 + (i % 1500) / 100, 130 + (i // 1500) + (i % 97) / 100,
                    f"2024:05:{1 + i % 28:02d} 10:{i % 60:02d}:00")
        segment = b"Exif\0\0" + tiff
        head = (b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
                + b"\xff\xe1" + struct.pack(">H", len(segment) + 2) + segment
                + b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00")
        with open(os.path.join(folder, f"IMG_{i:05d}.jpg"), "wb") as f:
            f.write(head)
            f.truncate(size - 2)
            f.seek(size - 2)
            f.write(b"\xff\xd9")


if __name__ == "__main__":
    main()
