#!/usr/bin/env python3
"""Writes a POT file of N point lines for benchmarks: Japanese titles in
CP932, CR LF line ends, coordinates spread over Japan.

Usage: gen_pot.py N OUTPUT
"""
import random
import sys

PLACES = ["東京タワー", "浅草寺", "明治神宮", "皇居外苑", "上野恩賜公園", "築地本願寺",
          "表参道ヒルズ", "渋谷駅前", "新宿御苑", "横浜中華街", "鎌倉大仏", "富士山頂",
          "名古屋城", "伏見稲荷大社", "清水寺", "大阪城", "姫路城", "厳島神社",
          "札幌時計台", "函館山", "仙台城跡", "金沢兼六園", "道後温泉", "那覇首里城"]


def coordinate(rng, low, high):
    degrees = rng.randint(low, high)
    return "%d'%d'%d'%d" % (degrees, rng.randint(0, 59), rng.randint(0, 59), rng.randint(0, 9))


def main():
    count = int(sys.argv[1])
    rng = random.Random(20100401)  # the same file on every run
    titles = [place.encode("cp932") for place in PLACES]
    with open(sys.argv[2], "wb") as out:
        chunk = []
        for i in range(count):
            title = titles[i % len(titles)] + b" " + str(i + 1).encode()
            line = (b"ORD=POI/tex=" + title + b"/kei=" + coordinate(rng, 123, 153).encode() +
                    b"/ido=" + coordinate(rng, 24, 45).encode() + b"/tel=03-0000-0000\r\n")
            chunk.append(line)
            if len(chunk) == 10000:
                out.write(b"".join(chunk))
                chunk.clear()
        out.write(b"".join(chunk))


if __name__ == "__main__":
    main()
