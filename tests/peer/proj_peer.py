#!/usr/bin/env python3
"""velorin-cli's datum shifts against PROJ's own program, cs2cs, on real
places of Japan from Cape Soya to Minami-Torishima:

1. A CSV and a POT list in the Tokyo datum, converted with
   --input-datum=tokyo into CSV and NVI: every position within 1e-6 degree
   of what cs2cs makes of it.
2. A CSV in WGS 84 converted with --output-datum=tokyo into CSV and NVI:
   the same, the other way.
3. An NVI file in the Tokyo datum read back into GPX (WGS 84 by definition).

cs2cs is given the operation that PROJ chooses between the two datums as a
whole (projinfo -s EPSG:4301 -t EPSG:4326), the one velorin-cli uses for
every point of a run: left to choose for each point, cs2cs takes Korea's
operation wherever Korea's bounding box reaches (northern Kyushu, western
Honshu), some 5 m away; those places are listed, not failed.

Usage: proj_peer.py VELORIN_CLI WORK_DIR
"""
import csv
import re
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
from gpsbabel_peer import UNITS, check, decode, nvi_blocks, run  # noqa: E402

TOLERANCE = 1e-6

# (name, latitude, longitude) in the Tokyo datum.
PLACES = [
    ("Tokyo Station", 35.677997, 139.770359),
    ("Sapporo Station", 43.066239, 141.354497),
    ("Naha, the prefectural office", 26.208373, 127.682876),
    ("Osaka Station", 34.699242, 135.498780),
    ("Hakata Station", 33.586465, 130.423070),
    ("Sendai Station", 38.257155, 140.885880),
    ("Nagoya Station", 35.167692, 136.884504),
    ("Kagoshima-Chuo Station", 31.580544, 130.543913),
    ("Cape Soya", 45.520221, 141.940680),
    ("Ishigaki Port", 24.336481, 124.157628),
    ("Yonaguni", 24.463445, 123.006115),
    ("Chichijima", 27.089997, 142.194982),
    ("Minami-Torishima", 24.281965, 153.984558),
    ("Matsue Castle", 35.471668, 133.053889),
    ("Kanazawa, Kenroku-en", 36.559049, 136.665651),
    ("Nemuro, Cape Nosappu", 43.383290, 145.820000),
]


def chosen_operation():
    """The Tokyo datum as cs2cs takes it with PROJ's chosen operation: the
    source ellipsoid and the geocentric translation of that operation."""
    text = run("projinfo", "-s", "EPSG:4301", "-t", "EPSG:4326", "-o", "PROJ", "-q",
               "--single-line").stdout.decode()
    ellipsoid = re.search(r"\+proj=cart \+ellps=(\S+)", text)
    helmert = re.search(r"\+proj=helmert \+x=(\S+) \+y=(\S+) \+z=(\S+)(?= \+step|$)", text)
    check(ellipsoid is not None and helmert is not None,
          "PROJ's operation is no geocentric translation: " + text)
    tokyo = ["+proj=longlat", "+ellps=" + ellipsoid.group(1),
             "+towgs84=" + ",".join(helmert.groups()), "+no_defs"]
    return tokyo, ["+to", "+proj=longlat", "+datum=WGS84", "+no_defs"]


def cs2cs(source, target, points, extra=()):
    """The points moved by cs2cs, their two coordinates in the order the
    systems take them."""
    text = "".join("%.12f %.12f\n" % point for point in points)
    result = subprocess.run(["cs2cs", "-f", "%.12f", *extra, *source, *target],
                            input=text.encode(), capture_output=True, check=True)
    moved = [tuple(map(float, line.split()[:2])) for line in result.stdout.decode().splitlines()]
    check(len(moved) == len(points), "cs2cs moved %d of %d points" % (len(moved), len(points)))
    return moved


def pot_angle(degrees):
    tenths = round(degrees * 36000)
    return "%d'%d'%d'%d" % (tenths // 36000, tenths % 36000 // 600, tenths % 600 // 10, tenths % 10)


def pot_degrees(degrees):
    """The degrees a POT reader takes from pot_angle's text."""
    d, m, s, t = (int(part) for part in pot_angle(degrees).split("'"))
    return ((d + m / 60) + s / 3600) + t / 36000


def write_csv(path, points):
    with open(path, "w", newline="", encoding="utf-8") as table:
        writer = csv.writer(table)
        writer.writerow(["name", "lat", "lon"])
        for (name, _, _), (longitude, latitude) in zip(PLACES, points):
            writer.writerow([name, "%.9f" % latitude, "%.9f" % longitude])


def csv_positions(path):
    with open(path, newline="", encoding="utf-8") as table:
        return [(float(row["longitude"]), float(row["latitude"])) for row in csv.DictReader(table)]


def nvi_positions(path):
    return [tuple(value / UNITS for value in decode(position)) for _, position in nvi_blocks(path)]


def expect_near(what, got, wanted):
    check(len(got) == len(wanted), "%s: %d positions for %d places" % (what, len(got), len(wanted)))
    for (name, _, _), position, expected in zip(PLACES, got, wanted):
        check(all(abs(a - b) <= TOLERANCE for a, b in zip(position, expected)),
              "%s: %s at %r, cs2cs %r" % (what, name, position, expected))
    print("%s: %d places within %g degree of cs2cs" % (what, len(got), TOLERANCE))


def per_point_choice(tokyo, wgs84):
    """The places where cs2cs, choosing an operation for each point, parts
    from the operation chosen for the datums as a whole (these systems take
    the latitude first)."""
    plain = cs2cs(["EPSG:4301"], ["EPSG:4326"], [(lat, lon) for lon, lat in tokyo])
    for (name, _, _), (latitude, longitude), expected in zip(PLACES, plain, wgs84):
        if abs(longitude - expected[0]) > TOLERANCE or abs(latitude - expected[1]) > TOLERANCE:
            print("note: cs2cs EPSG:4301 EPSG:4326 takes another operation at %s (%.1e degree)"
                  % (name, max(abs(longitude - expected[0]), abs(latitude - expected[1]))))


def main():
    cli, work = sys.argv[1], Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    tokyo_crs, wgs84_crs = chosen_operation()
    tokyo = [(longitude, latitude) for _, latitude, longitude in PLACES]
    wgs84 = cs2cs(tokyo_crs, wgs84_crs, tokyo)
    per_point_choice(tokyo, wgs84)

    write_csv(work / "tokyo.csv", tokyo)
    run(cli, "convert", "--force", "--input-datum=tokyo", work / "tokyo.csv", work / "wgs84.csv")
    expect_near("Tokyo CSV -> CSV", csv_positions(work / "wgs84.csv"), wgs84)

    pot = "".join("ORD=POI/tex=%d/kei=%s/ido=%s\r\n" % (i, pot_angle(longitude), pot_angle(latitude))
                  for i, (longitude, latitude) in enumerate(tokyo))
    (work / "tokyo.pot").write_bytes(pot.encode("ascii"))
    run(cli, "convert", "--force", "--input-datum=tokyo", work / "tokyo.pot", work / "wgs84.nvi")
    pot_tokyo = [(pot_degrees(longitude), pot_degrees(latitude)) for longitude, latitude in tokyo]
    expect_near("Tokyo POT -> NVI", nvi_positions(work / "wgs84.nvi"),
                cs2cs(tokyo_crs, wgs84_crs, pot_tokyo))

    write_csv(work / "wgs84-in.csv", wgs84)
    run(cli, "convert", "--force", "--output-datum=tokyo", work / "wgs84-in.csv",
        work / "back.csv")
    back = cs2cs(tokyo_crs, wgs84_crs, wgs84, extra=["-I"])
    expect_near("CSV -> Tokyo CSV", csv_positions(work / "back.csv"), back)
    run(cli, "convert", "--force", "--output-datum=tokyo", work / "wgs84-in.csv",
        work / "tokyo.nvi")
    expect_near("CSV -> Tokyo NVI", nvi_positions(work / "tokyo.nvi"), back)

    run(cli, "convert", "--force", "--input-datum=tokyo", work / "tokyo.nvi", work / "back.gpx")
    root = ET.parse(work / "back.gpx").getroot()
    ns = {"g": root.tag[1:root.tag.index("}")]}
    gpx = [(float(w.get("lon")), float(w.get("lat"))) for w in root.findall("g:wpt", ns)]
    expect_near("Tokyo NVI -> GPX", gpx,
                cs2cs(tokyo_crs, wgs84_crs, nvi_positions(work / "tokyo.nvi")))


if __name__ == "__main__":
    main()
