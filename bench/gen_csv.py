#!/usr/bin/env python3
"""Writes a CSV file of N rows for benchmarks, as Velorin's CSV writer
writes one: a name,latitude,longitude header, CR LF, nine decimal places,
coordinates spread over Japan.

Usage: gen_csv.py N OUTPUT [ascii|japanese|semicolon]
  ascii      ASCII titles, one Japanese title in the last row (the encoding
             is decided there, after all the rest)
  japanese   Japanese titles in UTF-8 from the first row
  semicolon  as ascii, but separated by ";" with decimal commas, as a
             spreadsheet in much of Europe saves it
"""
import random
import sys

PLACES = ["東京タワー", "浅草寺", "明治神宮", "皇居外苑", "上野恩賜公園", "築地本願寺",
          "表参道ヒルズ", "渋谷駅前", "新宿御苑", "横浜中華街", "鎌倉大仏", "富士山頂"]


def main():
    count = int(sys.argv[1])
    kind = sys.argv[3] if len(sys.argv) > 3 else "ascii"
    separator, mark = (";", ",") if kind == "semicolon" else (",", ".")
    rng = random.Random(20100401)  # the same file on every run
    with open(sys.argv[2], "w", encoding="utf-8", newline="") as out:
        out.write(separator.join(["name", "latitude", "longitude"]) + "\r\n")
        chunk = []
        for i in range(count):
            if kind == "japanese" or i + 1 == count:
                title = "%s %d" % (PLACES[i % len(PLACES)], i + 1)
            else:
                title = "Point of interest %d" % (i + 1)
            latitude = ("%.9f" % rng.uniform(24, 45)).replace(".", mark)
            longitude = ("%.9f" % rng.uniform(123, 153)).replace(".", mark)
            chunk.append(separator.join([title, latitude, longitude]) + "\r\n")
            if len(chunk) == 10000:
                out.write("".join(chunk))
                chunk.clear()
        out.write("".join(chunk))


if __name__ == "__main__":
    main()
