#!/usr/bin/env python3
"""Writes a GeoJSON FeatureCollection of N Point features around Japan, as
GDAL writes one from a GPX file: one feature a line, a name (Japanese for
one in three), an elevation and a time among the properties; with "texts",
also a description, an address, a url and a phone.

Usage: gen_geojson.py N OUTPUT [texts]
"""
import json
import random
import sys

NAMES = ["東京タワー", "Shiba Park", "浅草寺", "Osaka Castle", "金閣寺", "Fuji 5th Station"]


def main():
    count, path = int(sys.argv[1]), sys.argv[2]
    texts = sys.argv[3:] == ["texts"]
    random.seed(1)
    with open(path, "w", encoding="utf-8") as out:
        out.write('{\n"type": "FeatureCollection",\n"name": "waypoints",\n"features": [\n')
        for i in range(count):
            extra = ""
            if texts:
                extra = (', "description": "Stop %d: parking, toilets", "address": '
                         '"%d-1 Example-cho, Minato", "url": "https://example.com/stop/%d", '
                         '"phone": "03-0000-%04d"' % (i, i, i, i % 10000))
            out.write('{ "type": "Feature", "properties": { "name": %s, "ele": %.1f, '
                      '"time": "2024-05-01T09:%02d:%02dZ"%s }, "geometry": { "type": "Point", '
                      '"coordinates": [ %.7f, %.7f ] } }%s\n'
                      % (json.dumps("%s %d" % (NAMES[i % len(NAMES)], i), ensure_ascii=False),
                         random.uniform(0, 3000), i // 60 % 60, i % 60, extra,
                         random.uniform(123, 146), random.uniform(24, 46),
                         "," if i + 1 < count else ""))
        out.write("]\n}\n")


if __name__ == "__main__":
    main()
