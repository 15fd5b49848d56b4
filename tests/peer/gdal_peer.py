#!/usr/bin/env python3
"""velorin-cli against GDAL (ogr2ogr), an independent reader and writer of
GeoJSON, in both directions:

1. ogr2ogr turns a GPX file's waypoints into GeoJSON; velorin-cli converts
   that to NVI. Every position code must be exactly the one that the numbers
   GDAL wrote give (floor(degrees * 11930464 + 0.5), interleaved), and every
   title the name GDAL wrote, in CP932.
2. velorin-cli turns an NVI file into GeoJSON; ogr2ogr reads it back and
   writes CSV. Every point must come back within 1e-7 degree of the NVI code,
   with its name.
3. Descriptions, comments and links: ogr2ogr writes GeoJSON of a GPX file's
   desc, cmt and link, velorin-cli reads the texts GDAL wrote; velorin-cli
   writes GPX, GeoJSON and KML of a CSV with those texts and ogr2ogr's CSV of
   each holds the texts velorin-cli wrote.
4. A table separated by TABs with decimal commas: ogr2ogr and velorin-cli
   read the same positions of it.

Usage: gdal_peer.py VELORIN_CLI WORK_DIR
"""
import csv
import json
import random
import shutil
import sys
from pathlib import Path
from xml.sax.saxutils import escape, quoteattr

sys.path.insert(0, str(Path(__file__).resolve().parent))
from gpsbabel_peer import (TITLES, UNITS, check, check_texts, code_of, collapse,  # noqa: E402
                           decode, gpx_texts, nvi_blocks, run, table_rows, text_rows,
                           title_matches, write_table)


def gdal_writes(cli, work):
    random.seed(13)
    gpx = work / "reference.gpx"
    points = [("corner", 0.0, 0.0), ("far corner", 179.999999, 89.999999)]
    for i in range(300):
        points.append((TITLES[i % len(TITLES)] + " %d" % i, random.uniform(0, 180),
                       random.uniform(0, 89)))
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<gpx version="1.1" creator="peer" xmlns="http://www.topografix.com/GPX/1/1">']
    for name, longitude, latitude in points:
        lines.append('<wpt lat=%s lon=%s><name>%s</name></wpt>'
                     % (quoteattr("%.9f" % latitude), quoteattr("%.9f" % longitude), escape(name)))
    gpx.write_text("\n".join(lines + ["</gpx>", ""]), encoding="utf-8")
    geojson = work / "gdal.geojson"
    run("ogr2ogr", "-f", "GeoJSON", geojson, gpx, "waypoints")
    written = [(f["properties"]["name"], *f["geometry"]["coordinates"][:2])
               for f in json.loads(geojson.read_text(encoding="utf-8"))["features"]]
    check(len(written) == len(points), "GDAL wrote %d of %d waypoints" % (len(written), len(points)))
    nvi = work / "gdal.nvi"
    run(cli, "convert", "--force", "--untitled=keep", geojson, nvi)
    blocks = nvi_blocks(nvi)
    check(len(blocks) == len(written), "%d blocks for %d features" % (len(blocks), len(written)))
    for (title, position), (name, longitude, latitude) in zip(blocks, written):
        check(position == code_of(longitude, latitude),
              "%s for %s %r, expected %s" % (position, name, (longitude, latitude),
                                             code_of(longitude, latitude)))
        check(title_matches(title, collapse(name)),
              "title %r for %r" % (title.decode("cp932", "replace"), name))
    print("GDAL GeoJSON -> velorin NVI: %d points exact" % len(blocks))


def velorin_writes(cli, work):
    random.seed(17)
    pot = work / "points.pot"
    lines = []
    for i in range(300):
        def angle(limit):
            tenths = random.randrange(limit * 36000)
            return "%d'%d'%d'%d" % (tenths // 36000, tenths % 36000 // 600, tenths % 600 // 10,
                                    tenths % 10)
        lines.append("ORD=POI/tex=%s %d/kei=%s/ido=%s\r\n"
                     % (TITLES[i % len(TITLES)], i, angle(180), angle(90)))
    pot.write_bytes("".join(lines).encode("cp932", "replace"))
    nvi = work / "points.nvi"
    run(cli, "convert", "--force", pot, nvi)
    blocks = nvi_blocks(nvi)
    geojson = work / "velorin.geojson"
    run(cli, "convert", "--force", nvi, geojson)
    back = work / "back.csv"
    run("ogr2ogr", "-f", "CSV", back, geojson, "-lco", "GEOMETRY=AS_XY")
    with open(back, newline="", encoding="utf-8") as table:
        points = [(row["name"], float(row["X"]), float(row["Y"])) for row in csv.DictReader(table)]
    check(len(points) == len(blocks), "GDAL read %d points of %d" % (len(points), len(blocks)))
    for (title, position), (name, longitude, latitude) in zip(blocks, points):
        x, y = decode(position)
        check(abs(longitude - x / UNITS) <= 1e-7 and abs(latitude - y / UNITS) <= 1e-7,
              "%s came back as %r" % (position, (longitude, latitude)))
        check(name == title.decode("cp932"), "name %r for %r" % (name, title.decode("cp932")))
    print("velorin GeoJSON -> GDAL: %d points within 1e-7 degree, names kept" % len(points))


def texts_gpx(path, rows):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<gpx version="1.1" creator="peer" xmlns="http://www.topografix.com/GPX/1/1">']
    for name, latitude, longitude, desc, cmt, link in rows:
        body = "<name>%s</name>" % escape(name)
        body += "<cmt>%s</cmt>" % escape(cmt) if cmt else ""
        body += "<desc>%s</desc>" % escape(desc) if desc else ""
        body += "<link href=%s/>" % quoteattr(link) if link else ""
        lines.append('<wpt lat="%.6f" lon="%.6f">%s</wpt>' % (latitude, longitude, body))
    path.write_text("\n".join(lines + ["</gpx>", ""]), encoding="utf-8")


def velorin_csv_texts(path):
    return [(r.get("description", ""), r.get("comment", ""), r.get("url", ""))
            for r in table_rows(path)]


def gdal_writes_texts(cli, work):
    gpx = work / "texts.gpx"
    texts_gpx(gpx, text_rows(60))
    # GDAL's GPX layer names the texts desc, cmt and link1_href; Velorin's
    # GeoJSON reader takes desc and cmt as they are, a link under url, link or
    # website: one GeoJSON as GDAL names the fields, one renamed.
    plain, renamed = work / "texts-gdal.geojson", work / "texts-gdal-renamed.geojson"
    run("ogr2ogr", "-f", "GeoJSON", plain, gpx, "waypoints")
    run("ogr2ogr", "-f", "GeoJSON", renamed, gpx, "-sql",
        'SELECT name, "desc" AS description, cmt AS comment, link1_href AS url FROM waypoints')
    for label, path, keys in (("as GDAL names them", plain, ("desc", "cmt", None)),
                              ("renamed", renamed, ("description", "comment", "url"))):
        features = json.loads(path.read_text(encoding="utf-8"))["features"]
        expected = [tuple(f["properties"].get(key) or "" if key else "" for key in keys)
                    for f in features]
        check(any(all(t[:2]) for t in expected), "GDAL wrote no texts: %r" % expected[:3])
        ours = path.with_suffix(".csv")
        run(cli, "convert", "--force", path, ours)
        check_texts("GDAL geojson (%s) -> velorin" % label,
                    [t if keys[2] else t[:2] + ("",) for t in velorin_csv_texts(ours)], expected)
        print("GDAL geojson (%s) -> velorin csv: %s of %d points kept"
              % (label, ", ".join(k for k in keys if k), len(expected)))


def velorin_writes_texts(cli, work):
    source = work / "texts-velorin.csv"
    rows = text_rows(60)
    write_table(source, ["name", "latitude", "longitude", "description", "comment", "url"], rows)
    written = [tuple(map(collapse, row[3:])) for row in rows]
    # What each of GDAL's readers names the texts of velorin's file; its KML
    # reader (LIBKML) gives ExtendedData items as fields and no atom:link.
    cases = (("gpx", ("desc", "cmt", "link1_href")),
             ("geojson", ("description", "comment", "url")),
             ("kml", ("description", "comment", None)))
    for suffix, keys in cases:
        ours = work / ("texts-velorin." + suffix)
        run(cli, "convert", "--force", source, ours)
        back = work / ("texts-back-%s.csv" % suffix)
        layer = ["waypoints"] if suffix == "gpx" else []
        run("ogr2ogr", "-f", "CSV", back, ours, *layer)
        theirs = [tuple(r.get(key) or "" if key else "" for key in keys) for r in table_rows(back)]
        check_texts("velorin %s -> GDAL" % suffix,
                    [t if keys[2] else t[:2] + ("",) for t in written], theirs)
        print("velorin %s -> GDAL: %s of %d points kept"
              % (suffix, ", ".join(k for k in keys if k), len(theirs)))
    check(gpx_texts(work / "texts-velorin.gpx") == written,
          "velorin's GPX does not hold the CSV's texts")


def tab_decimal_commas(cli, work):
    random.seed(17)
    table = work / "decimal-commas.csv"
    rows = [("Punkt %d" % i, random.uniform(-89, 89), random.uniform(-179, 179))
            for i in range(100)]
    table.write_text("name\tlat\tlon\n" + "".join(
        "%s\t%s\t%s\n" % (name, ("%.7f" % lat).replace(".", ","),
                           ("%.7f" % lon).replace(".", ","))
        for name, lat, lon in rows), encoding="utf-8")
    theirs = work / "decimal-commas-gdal.geojson"
    run("ogr2ogr", "-f", "GeoJSON", theirs, table, "-oo", "X_POSSIBLE_NAMES=lon",
        "-oo", "Y_POSSIBLE_NAMES=lat")
    ours = work / "decimal-commas-ours.geojson"
    run(cli, "convert", "--force", table, ours)
    gdal = [f["geometry"]["coordinates"][:2]
            for f in json.loads(theirs.read_text(encoding="utf-8"))["features"]]
    velorin = [f["geometry"]["coordinates"][:2]
               for f in json.loads(ours.read_text(encoding="utf-8"))["features"]]
    check(len(gdal) == len(velorin) == len(rows),
          "GDAL read %d, velorin %d of %d rows" % (len(gdal), len(velorin), len(rows)))
    for a, b in zip(gdal, velorin):
        check(abs(a[0] - b[0]) <= 1e-7 and abs(a[1] - b[1]) <= 1e-7,
              "GDAL read %r, velorin %r" % (a, b))
    print("TABs with decimal commas: velorin and GDAL read the same %d positions" % len(rows))


def main():
    cli, work = sys.argv[1], Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    gdal_writes(cli, work)
    velorin_writes(cli, work)
    gdal_writes_texts(cli, work)
    velorin_writes_texts(cli, work)
    tab_decimal_commas(cli, work)


if __name__ == "__main__":
    main()
