#!/usr/bin/env python3
"""Geotagged photos and OpenStreetMap extracts against second opinions.

Photos: exiftool writes the positions into small generated JPEGs, and
GPSBabel's exif reader reads the same files. Extracts: a hand-written region
(fuel stations, a car park drawn as an area, a multipolygon with a hole, a
hot spring with name:ja and name:en) made into PBF by osmium; osmium
tags-filter chooses the same nodes, and GDAL's OSM driver puts each node where
velorin does and each area around velorin's point.

usage: osm_photo_peer.py VELORIN_CLI WORK_DIR
"""
import csv
import io
import os
import shutil
import subprocess
import sys

CLI, WORK = sys.argv[1], sys.argv[2]
# A JPEG with no picture to speak of: what exiftool needs to hold an EXIF.
JPEG = (b"\xff\xd8\xff\xe0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
        b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00\xd2\xcf\x20\xff\xd9")
PHOTOS = [  # name, latitude, longitude, title
    ("IMG_0001.jpg", 35.658600, 139.745400, "Tokyo Tower"),
    ("IMG_0002.jpg", 35.232900, 139.105700, ""),
    ("IMG_0003.jpg", -33.856800, -151.215300, ""),  # west: a Sydney mirror
]
REGION = """<?xml version="1.0" encoding="UTF-8"?>
<osm version="0.6" generator="velorin peer test">
 <node id="1" lat="35.2000000" lon="139.0000000"><tag k="amenity" v="fuel"/><tag k="name" v="ENEOS"/></node>
 <node id="2" lat="35.2100000" lon="139.0200000"><tag k="amenity" v="fuel"/><tag k="name" v="Cosmo"/></node>
 <node id="3" lat="35.2329000" lon="139.1057000"><tag k="natural" v="hot_spring"/><tag k="name" v="箱根湯本温泉"/><tag k="name:ja" v="箱根湯本温泉"/><tag k="name:en" v="Hakone Yumoto Onsen"/></node>
 <node id="10" lat="35.1000000" lon="139.1000000"/><node id="11" lat="35.1000000" lon="139.1200000"/>
 <node id="12" lat="35.1100000" lon="139.1200000"/><node id="13" lat="35.1100000" lon="139.1000000"/>
 <node id="20" lat="35.3000000" lon="139.3000000"/><node id="21" lat="35.3000000" lon="139.3300000"/>
 <node id="22" lat="35.3300000" lon="139.3300000"/><node id="23" lat="35.3300000" lon="139.3000000"/>
 <node id="24" lat="35.3100000" lon="139.3100000"/><node id="25" lat="35.3100000" lon="139.3200000"/>
 <node id="26" lat="35.3200000" lon="139.3200000"/><node id="27" lat="35.3200000" lon="139.3100000"/>
 <way id="100"><nd ref="10"/><nd ref="11"/><nd ref="12"/><nd ref="13"/><nd ref="10"/><tag k="amenity" v="parking"/><tag k="name" v="道の駅 箱根峠"/></way>
 <way id="101"><nd ref="20"/><nd ref="21"/><nd ref="22"/><nd ref="23"/><nd ref="20"/></way>
 <way id="102"><nd ref="24"/><nd ref="25"/><nd ref="26"/><nd ref="27"/><nd ref="24"/></way>
 <relation id="200"><member type="way" ref="101" role="outer"/><member type="way" ref="102" role="inner"/><tag k="type" v="multipolygon"/><tag k="amenity" v="parking"/><tag k="name" v="Ring park"/></relation>
</osm>
"""
TAGS = "amenity=fuel,amenity=parking,natural=hot_spring"
failures = []


def run(*args, **kw):
    return subprocess.run(args, check=True, capture_output=True, **kw).stdout


def velorin_csv(*args):
    out = run(CLI, "convert", *args, "--to=csv", "-o", "-", "--force")
    return list(csv.DictReader(io.StringIO(out.decode("utf-8"))))


def check(what, ok):
    if not ok:
        failures.append(what)


def near(a, b, tolerance=1e-6):
    return abs(float(a) - float(b)) <= tolerance


def photos():
    folder = os.path.join(WORK, "trip")
    os.makedirs(folder)
    for name, lat, lon, title in PHOTOS:
        path = os.path.join(folder, name)
        with open(path, "wb") as f:
            f.write(JPEG)
        args = ["exiftool", "-q", "-overwrite_original", f"-GPSLatitude={abs(lat)}",
                f"-GPSLatitudeRef={'S' if lat < 0 else 'N'}", f"-GPSLongitude={abs(lon)}",
                f"-GPSLongitudeRef={'W' if lon < 0 else 'E'}"]
        if title:
            args.append(f"-ImageDescription={title}")
        run(*args, path)
    with open(os.path.join(folder, "IMG_0004.jpg"), "wb") as f:
        f.write(JPEG)  # no position: skipped, named
    ours = velorin_csv(folder)
    babel = run("gpsbabel", "-i", "exif", *sum([["-f", os.path.join(folder, p[0])] for p in PHOTOS], []),
                "-o", "unicsv", "-F", "-").decode("utf-8")
    theirs = list(csv.DictReader(io.StringIO(babel)))
    check(f"photos: {len(ours)} points, GPSBabel {len(theirs)}", len(ours) == len(theirs) == 3)
    for mine, other, photo in zip(ours, theirs, PHOTOS):
        check(f"{photo[0]}: {mine} against {other}",
              near(mine["latitude"], other["Latitude"]) and
              near(mine["longitude"], other["Longitude"]))
        check(f"{photo[0]}: title {mine['name']}",
              mine["name"] == (photo[3] or photo[0][:-4]))


def point_in(polygon_wkt, lon, lat):
    rings = polygon_wkt[polygon_wkt.index("((") + 2:].rstrip(")").split("),(")
    inside = False
    for ring in rings:
        pts = [tuple(map(float, p.split())) for p in ring.replace("(", "").split(",")]
        for (x1, y1), (x2, y2) in zip(pts, pts[1:]):
            if (y1 > lat) != (y2 > lat) and lon < x1 + (lat - y1) * (x2 - x1) / (y2 - y1):
                inside = not inside
    return inside


def extracts():
    xml = os.path.join(WORK, "region.osm")
    pbf = os.path.join(WORK, "region.osm.pbf")
    with open(xml, "w", encoding="utf-8") as f:
        f.write(REGION)
    run("osmium", "cat", xml, "-o", pbf, "-O")
    ours = velorin_csv(pbf, f"--osm-tags={TAGS}", "--osm-name=en")
    check("XML and PBF alike", velorin_csv(xml, f"--osm-tags={TAGS}", "--osm-name=en") == ours)
    names = [p["name"] for p in ours]
    check(f"titles {names}", names == ["ENEOS", "Cosmo", "Hakone Yumoto Onsen", "道の駅 箱根峠",
                                       "Ring park"])
    filtered = os.path.join(WORK, "nodes.osm")
    run("osmium", "tags-filter", pbf, "n/amenity=fuel", "n/natural=hot_spring", "-o", filtered,
        "-O", "--omit-referenced")
    kept = velorin_csv(filtered, "--osm-tags=name=*")
    check("osmium tags-filter keeps the same nodes",
          [(p["latitude"], p["longitude"]) for p in kept] ==
          [(p["latitude"], p["longitude"]) for p in ours[:3]])
    layer = os.path.join(WORK, "gdal")
    for name, args in (("points", ["-lco", "GEOMETRY=AS_XY"]),
                       ("multipolygons", ["-lco", "GEOMETRY=AS_WKT"])):
        run("ogr2ogr", "-f", "CSV", f"{layer}-{name}.csv", pbf, name, *args)
        with open(f"{layer}-{name}.csv", encoding="utf-8") as f:
            rows = list(csv.DictReader(f))
        if name == "points":
            for mine in ours[:3]:
                check(f"GDAL has no node at {mine}", any(
                    near(r["X"], mine["longitude"]) and near(r["Y"], mine["latitude"])
                    for r in rows))
        else:
            for mine in ours[3:]:
                check(f"{mine['name']}: outside GDAL's area", any(
                    point_in(r["WKT"], float(mine["longitude"]), float(mine["latitude"]))
                    for r in rows if r["name"] in (mine["name"], "道の駅 箱根峠")))


def generated():
    """A generated extract of many PBF blocks: every object kept is read."""
    opl = os.path.join(WORK, "generated.opl")
    pbf = os.path.join(WORK, "generated.osm.pbf")
    generator = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench",
                             "gen_osm.py")
    run(sys.executable, generator, opl, "40000", "4000")
    run("osmium", "cat", opl, "-o", pbf, "-O")
    ours = velorin_csv(pbf, "--osm-tags=amenity=fuel,amenity=parking")
    filtered = os.path.join(WORK, "generated-fuel.opl")
    run("osmium", "tags-filter", pbf, "amenity=fuel", "amenity=parking", "-o", filtered, "-O",
        "--omit-referenced")
    with open(filtered, encoding="utf-8") as f:
        kept = sum(1 for line in f if line[0] in "nwr")
    # 40 fuel stations, 40 car parks drawn as ways, 2 multipolygons.
    check(f"generated extract: {len(ours)} points, osmium keeps {kept} objects",
          len(ours) == kept == 82)


if __name__ == "__main__":
    shutil.rmtree(WORK, ignore_errors=True)
    os.makedirs(WORK)
    photos()
    extracts()
    generated()
    for failure in failures:
        print("FAIL:", failure)
    print("photos and extracts agree with exiftool, GPSBabel, osmium and GDAL"
          if not failures else f"{len(failures)} disagreements")
    sys.exit(1 if failures else 0)
