#!/usr/bin/env python3
"""Writes an OpenStreetMap extract in OPL (one object a line, which osmium
turns into PBF) of NODES nodes and WAYS ways: every 1,000th node a fuel
station, each way a closed square of four nodes of its own (the first
4 x WAYS nodes), every 100th way a car park, every 2,000th pair of ways a
multipolygon car park with a hole (the second square inside the first).
The nodes lie scattered over Japan, so that the PBF file is of a real
extract's size rather than packed to nothing. Nodes, then ways, then
relations, each by ascending id, as extracts come.

usage: gen_osm.py OUT.opl [NODES] [WAYS]
"""
import random
import sys


def main():
    out = sys.argv[1]
    nodes = int(sys.argv[2]) if len(sys.argv) > 2 else 10_000_000
    ways = int(sys.argv[3]) if len(sys.argv) > 3 else 1_000_000
    with open(out, "w", buffering=1 << 20) as f:
        rng = random.Random(7)
        corner = ((0, 0), (1, 0), (1, 1), (0, 1))
        for i in range(1, nodes + 1):
            if i <= 4 * ways:
                if i % 4 == 1:  # a square's first corner; a pair's second inside the first
                    square = (i - 1) // 4
                    inner = square % 2 == 1
                    if not inner:
                        x0, y0 = rng.uniform(129, 145), rng.uniform(31, 45)
                    side = 0.001 if inner else 0.003
                    base = (x0 + 0.001, y0 + 0.001) if inner else (x0, y0)
                dx, dy = corner[(i - 1) % 4]
                x, y = base[0] + dx * side, base[1] + dy * side
            else:
                x, y = rng.uniform(129, 145), rng.uniform(31, 45)
            tags = " Tamenity=fuel,name=Fuel-" + str(i) if i % 1000 == 0 else " T"
            f.write(f"n{i} v1 x{x:.7f} y{y:.7f}{tags}\n")
        for w in range(1, ways + 1):
            a = 4 * (w - 1) + 1
            tags = "Tamenity=parking,name=Park-" + str(w) if w % 100 == 0 else "T"
            f.write(f"w{w} v1 {tags} Nn{a},n{a + 1},n{a + 2},n{a + 3},n{a}\n")
        for r in range(1, ways // 2000 + 1):
            outer, inner = 2000 * r - 1, 2000 * r
            f.write(f"r{r} v1 Ttype=multipolygon,amenity=parking,name=Ring-{r} "
                    f"Mw{outer}@outer,w{inner}@inner\n")


if __name__ == "__main__":
    main()
