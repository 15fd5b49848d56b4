#!/usr/bin/env python3
"""Turns Natural Earth's land polygons at 1:10m, as the TopoJSON of the npm
package world-atlas holds them (land-10m.json), into data/land-10m.bin: the
rings of the land, with the package's quantized coordinates delta-coded as
variable-length integers. The layout is described in map/land_map.cpp.

Usage: make_land_data.py LAND_10M_JSON OUTPUT_BIN
"""
import json
import struct
import sys

MAGIC = b"VLAND1\n\0"


def decoded_arcs(topology):
    """The arcs with absolute quantized coordinates."""
    arcs = []
    for arc in topology["arcs"]:
        x = y = 0
        points = []
        for dx, dy in arc:
            x += dx
            y += dy
            points.append((x, y))
        arcs.append(points)
    return arcs


def ring_points(ring, arcs):
    """A ring's points from its arc indexes (~i is arc i reversed); the
    point shared by two arcs is kept once."""
    points = []
    for index in ring:
        arc = arcs[index] if index >= 0 else list(reversed(arcs[~index]))
        points.extend(arc if not points else arc[1:])
    # Consecutive duplicates add nothing to a drawing.
    kept = [points[0]]
    for p in points[1:]:
        if p != kept[-1]:
            kept.append(p)
    return kept


def rings_of(topology):
    arcs = decoded_arcs(topology)
    rings = []
    for geometry in topology["objects"]["land"]["geometries"]:
        polygons = geometry["arcs"]
        if geometry["type"] == "Polygon":
            polygons = [polygons]
        for polygon in polygons:
            for ring in polygon:
                points = ring_points(ring, arcs)
                if len(points) >= 3:
                    rings.append(points)
    return rings


def varint(value):
    out = bytearray()
    while True:
        byte = value & 0x7F
        value >>= 7
        if value:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return bytes(out)


def zigzag(value):
    return (value << 1) if value >= 0 else ((-value << 1) - 1)


def encode(topology, rings):
    transform = topology["transform"]
    out = bytearray(MAGIC)
    out += struct.pack("<4d", transform["scale"][0], transform["scale"][1],
                       transform["translate"][0], transform["translate"][1])
    out += struct.pack("<I", len(rings))
    for ring in rings:
        out += varint(len(ring))
        x = y = 0
        for px, py in ring:
            out += varint(zigzag(px - x)) + varint(zigzag(py - y))
            x, y = px, py
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as f:
        topology = json.load(f)
    rings = rings_of(topology)
    data = encode(topology, rings)
    with open(sys.argv[2], "wb") as f:
        f.write(data)
    print(f"{len(rings)} rings, {sum(map(len, rings))} points, {len(data)} bytes")


if __name__ == "__main__":
    main()
