#!/usr/bin/env python3
"""Writes a GPX 1.1 file of N waypoints around Japan, as a route planner
would: position, elevation, time, a name (Japanese for one in three);
with "texts", each also a description, a link and Garmin's address and
telephone number.

Usage: gen_gpx.py N OUTPUT [texts]
"""
import random
import sys

NAMES = ["東京タワー", "Shiba Park", "浅草寺", "Osaka Castle", "金閣寺", "Fuji 5th Station"]


def main():
    count, path = int(sys.argv[1]), sys.argv[2]
    texts = sys.argv[3:] == ["texts"]
    random.seed(1)
    with open(path, "w", encoding="utf-8") as out:
        out.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                  '<gpx version="1.1" creator="gen_gpx.py" xmlns="http://www.topografix.com/GPX/1/1"'
                  + (' xmlns:gpxx="http://www.garmin.com/xmlschemas/GpxExtensions/v3"' if texts else '')
                  + '>\n')
        for i in range(count):
            extra = ""
            if texts:
                extra = ('    <desc>Stop %d: parking, toilets</desc>\n'
                         '    <link href="https://example.com/stop/%d"/>\n'
                         '    <extensions><gpxx:WaypointExtension><gpxx:Address><gpxx:StreetAddress>'
                         '%d-1 Example-cho</gpxx:StreetAddress><gpxx:City>Minato</gpxx:City>'
                         '</gpxx:Address><gpxx:PhoneNumber>03-0000-%04d</gpxx:PhoneNumber>'
                         '</gpxx:WaypointExtension></extensions>\n' % (i, i, i, i % 10000))
            out.write('  <wpt lat="%.7f" lon="%.7f">\n    <ele>%.1f</ele>\n'
                      '    <time>2024-05-01T09:%02d:%02dZ</time>\n    <name>%s %d</name>\n%s  </wpt>\n'
                      % (random.uniform(24, 46), random.uniform(123, 146), random.uniform(0, 3000),
                         i // 60 % 60, i % 60, NAMES[i % len(NAMES)], i, extra))
        out.write("</gpx>\n")


if __name__ == "__main__":
    main()
