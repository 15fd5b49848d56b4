#!/usr/bin/env python3
"""velorin-cli against GPSBabel, an independent reader and writer of GPX,
KML and CSV, in both directions:

1. GPSBabel writes GPX, KML and CSV (and the KML zipped as KMZ); velorin-cli
   converts each to NVI. Every position code must be exactly the one that the
   numbers GPSBabel wrote give (floor(degrees * 11930464 + 0.5), interleaved),
   and every title the name GPSBabel wrote, in CP932.
2. velorin-cli turns an NVI file into GPX, KML and CSV; GPSBabel reads each
   back (and writes GPX, its most precise output). Every point must come back
   within 1e-7 degree of the NVI code, with its name.
3. Routes and tracks: velorin-cli --points=routes and --points=tracks --thin=0
   give the points that GPSBabel's -r and -t read (count, positions, the
   names of named route points), from GPX and from the KML and GeoJSON that
   GPSBabel writes of it.
4. Descriptions, comments and links: GPSBabel writes GPX and KML from a CSV
   with those texts and velorin-cli's CSV and GeoJSON hold the texts GPSBabel
   wrote; velorin-cli writes GPX and KML from a CSV and GPSBabel reads back
   the texts velorin-cli wrote.
5. GPSBabel's own CSV of a route planner's GPX (Description and Notes,
   the address in parts): velorin-cli's GPX of it holds the desc, cmt and
   link GPSBabel reads from it, and the address put together from its parts.

Usage: gpsbabel_peer.py VELORIN_CLI WORK_DIR
"""
import csv
import json
import math
import random
import shutil
import subprocess
import sys
import xml.etree.ElementTree as ET
from xml.sax.saxutils import escape, quoteattr
import zipfile
from pathlib import Path

UNITS = 11930464
GPX_NS = {"g": "http://www.topografix.com/GPX/1/0"}
TITLES = [
    "東京タワー", "Osaka & Castle", 'The "Big" One', "Shiba, Minato", "<b>bold</b>",
    "ソフト表示", "a  b", "Ünïcödé ça", "x", "富士山 5合目",
]


def spread(value):
    code = 0
    for bit in range(31):
        code |= ((value >> bit) & 1) << (2 * bit)
    return code


def code_of(longitude, latitude):
    x = math.floor(longitude * UNITS + 0.5)
    y = math.floor(latitude * UNITS + 0.5)
    return "$%016X" % (spread(x) | (spread(y) << 1))


def decode(code):
    value = int(code[1:], 16)
    x = sum(((value >> (2 * bit)) & 1) << bit for bit in range(31))
    y = sum(((value >> (2 * bit + 1)) & 1) << bit for bit in range(31))
    return x, y


def nvi_blocks(path):
    """(title bytes, position code) of every block of an NVI file."""
    lines = path.read_bytes().split(b"\n")
    blocks = []
    for at, line in enumerate(lines):
        if line == b"NPOIs100@NRA/R1;":
            position = lines[at + 3].decode("ascii").strip(" ;")
            title = lines[at + 4][len(b" TTL= {"):-len(b"};")]
            blocks.append((title, position))
    return blocks


def collapse(text):
    return " ".join(text.split())


def title_matches(title, name):
    """The name in CP932; a character CP932 lacks stands for one of its own
    (the closest one, whichever the encoder's tables choose)."""
    try:
        return title == name.encode("cp932")
    except UnicodeEncodeError:
        text = title.decode("cp932")
        return len(text) == len(name) and all(
            a == b for a, b in zip(text, name) if b.encode("cp932", "ignore"))


def run(*command):
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(map(str, command)), result.stderr.decode()))
    return result


def gpx_points(path):
    """(name, longitude, latitude) of the waypoints GPSBabel wrote, as written."""
    root = ET.parse(path).getroot()
    ns = {"g": root.tag[1:root.tag.index("}")]}
    return [(w.findtext("g:name", "", ns), float(w.get("lon")), float(w.get("lat")))
            for w in root.findall("g:wpt", ns)]


def kml_points(path):
    root = ET.parse(path).getroot()
    ns = {"k": root.tag[1:root.tag.index("}")]}
    points = []
    for placemark in root.iter("{%s}Placemark" % ns["k"]):
        coordinates = placemark.findtext("k:Point/k:coordinates", None, ns)
        if coordinates is None:
            continue
        longitude, latitude = coordinates.strip().split(",")[:2]
        points.append((placemark.findtext("k:name", "", ns), float(longitude), float(latitude)))
    return points


def csv_points(path):
    with open(path, newline="", encoding="utf-8-sig") as table:
        return [(row["Name"], float(row["Longitude"]), float(row["Latitude"]))
                for row in csv.DictReader(table)]


def check(condition, message):
    if not condition:
        sys.exit("mismatch: " + message)


def gpsbabel_writes(cli, work):
    random.seed(7)
    reference = work / "reference.csv"
    with open(reference, "w", newline="", encoding="utf-8") as table:
        writer = csv.writer(table)
        writer.writerow(["name", "lat", "lon"])
        writer.writerow(["corner", "0", "0"])
        writer.writerow(["far corner", "89.999999", "179.999999"])
        for i in range(300):
            writer.writerow([TITLES[i % len(TITLES)] + " %d" % i,
                             "%.9f" % random.uniform(0, 89), "%.9f" % random.uniform(0, 180)])
    written = {
        "gpx": (work / "babel.gpx", gpx_points),
        "kml": (work / "babel.kml", kml_points),
        "unicsv": (work / "babel.csv", csv_points),
    }
    for format_name, (path, _) in written.items():
        run("gpsbabel", "-i", "unicsv", "-f", reference, "-o", format_name, "-F", path)
    with zipfile.ZipFile(work / "babel.kmz", "w", zipfile.ZIP_DEFLATED) as kmz:
        kmz.write(work / "babel.kml", "doc.kml")
    written["kmz"] = (work / "babel.kmz", lambda _: kml_points(work / "babel.kml"))

    for format_name, (path, read) in written.items():
        nvi = path.with_suffix(".%s.nvi" % format_name)
        run(cli, "convert", "--force", "--untitled=keep", path, nvi)
        expected = read(path)
        blocks = nvi_blocks(nvi)
        check(len(blocks) == len(expected),
              "%s: %d blocks for %d points" % (format_name, len(blocks), len(expected)))
        for (title, position), (name, longitude, latitude) in zip(blocks, expected):
            check(position == code_of(longitude, latitude),
                  "%s: %s for %s %r, expected %s" % (format_name, position, name, (longitude, latitude),
                                                    code_of(longitude, latitude)))
            check(title_matches(title, collapse(name)),
                  "%s: title %r for %r" % (format_name, title.decode("cp932", "replace"), name))
        print("GPSBabel %s -> velorin NVI: %d points exact" % (format_name, len(blocks)))


def velorin_writes(cli, work):
    random.seed(11)
    pot = work / "points.pot"
    lines = []
    for i in range(300):
        def angle(limit):
            tenths = random.randrange(limit * 36000)
            return "%d'%d'%d'%d" % (tenths // 36000, tenths % 36000 // 600, tenths % 600 // 10,
                                    tenths % 10)
        title = TITLES[i % len(TITLES)] + " %d" % i
        title = title.replace("&", "and") if i % 3 else title
        lines.append("ORD=POI/tex=%s/kei=%s/ido=%s\r\n" % (title, angle(180), angle(90)))
    pot.write_bytes("".join(lines).encode("cp932", "replace"))
    nvi = work / "points.nvi"
    run(cli, "convert", "--force", pot, nvi)
    blocks = nvi_blocks(nvi)
    for format_name, suffix in (("gpx", "gpx"), ("kml", "kml"), ("unicsv", "csv")):
        path = work / ("velorin." + suffix)
        run(cli, "convert", "--force", nvi, path)
        back = work / ("back-%s.gpx" % suffix)
        run("gpsbabel", "-i", format_name, "-f", path, "-o", "gpx", "-F", back)
        points = gpx_points(back)
        check(len(points) == len(blocks),
              "%s: GPSBabel read %d points of %d" % (suffix, len(points), len(blocks)))
        for (title, position), (name, longitude, latitude) in zip(blocks, points):
            x, y = decode(position)
            check(abs(longitude - x / UNITS) <= 1e-7 and abs(latitude - y / UNITS) <= 1e-7,
                  "%s: %s came back as %r" % (suffix, position, (longitude, latitude)))
            check(name == title.decode("cp932"),
                  "%s: name %r for %r" % (suffix, name, title.decode("cp932")))
        print("velorin %s -> GPSBabel: %d points within 1e-7 degree, names kept" % (suffix, len(points)))


def line_points(path, element):
    """(name, longitude, latitude) of every rtept or trkpt of a GPX file."""
    root = ET.parse(path).getroot()
    ns = root.tag[1:root.tag.index("}")]
    return [(w.findtext("{%s}name" % ns, ""), float(w.get("lon")), float(w.get("lat")))
            for w in root.iter("{%s}%s" % (ns, element))]


def lines_gpx(path):
    random.seed(13)
    body = ['<wpt lat="35" lon="139"><name>W</name></wpt>']
    for route, named in (("Coast road", True), ("", False)):
        body.append("<rte>" + ("<name>%s</name>" % route if route else ""))
        for i in range(120 if named else 7):
            name = "<name>Stop %d</name>" % i if named and i % 10 == 0 else ""
            body.append('<rtept lat="%.9f" lon="%.9f">%s</rtept>'
                        % (random.uniform(30, 40), random.uniform(130, 140), name))
        body.append("</rte>")
    body.append("<trk><name>Ride</name>")
    for segment in range(2):
        body.append("<trkseg>")
        for i in range(60):
            body.append('<trkpt lat="%.9f" lon="%.9f"/>'
                        % (35 + segment + 0.00005 * i, 139 + random.uniform(0, 0.00001)))
        body.append("</trkseg>")
    body.append("</trk>")
    path.write_text('<gpx version="1.1" creator="t" xmlns="http://www.topografix.com/GPX/1/1">'
                    + "\n".join(body) + "</gpx>\n", encoding="utf-8")


def routes_and_tracks(cli, work):
    source = work / "lines.gpx"
    lines_gpx(source)
    babel_kml = work / "lines-babel.kml"
    babel_json = work / "lines-babel.geojson"
    run("gpsbabel", "-t", "-i", "gpx", "-f", source, "-o", "kml", "-F", babel_kml)
    run("gpsbabel", "-r", "-i", "gpx", "-f", source, "-o", "geojson", "-F", babel_json)
    cases = (("gpx routes", source, "routes", "-r", "rtept", True),
             ("gpx tracks", source, "tracks", "-t", "trkpt", False),
             ("kml tracks", babel_kml, "tracks", "-t", "trkpt", False),
             ("geojson routes", babel_json, "routes", "-r", "rtept", False))
    for label, path, kinds, option, element, names in cases:
        ours = work / ("ours-%s.gpx" % label.replace(" ", "-"))
        run(cli, "convert", "--force", "--points=" + kinds, "--thin=0", "--to=gpx", path, ours)
        theirs = work / ("theirs-%s.gpx" % label.replace(" ", "-"))
        format_name = path.suffix[1:]
        run("gpsbabel", option, "-i", format_name, "-f", path, "-o", "gpx", "-F", theirs)
        expected = line_points(theirs, element)
        got = gpx_points(ours)
        # GPSBabel names unnamed route points itself: the file's own names count.
        own = [name for name, _, _ in line_points(source, element)] if names else []
        check(len(got) == len(expected) and expected,
              "%s: %d points, GPSBabel %d" % (label, len(got), len(expected)))
        for i, ((title, longitude, latitude), (name, x, y)) in enumerate(zip(got, expected)):
            check(abs(longitude - x) <= 1e-9 and abs(latitude - y) <= 1e-9,
                  "%s: %r for GPSBabel's %r" % (label, (longitude, latitude), (x, y)))
            if names and own[i]:
                check(title == name == own[i], "%s: title %r for %r" % (label, title, name))
        print("%s: velorin --points=%s agrees with GPSBabel %s on %d points"
              % (label, kinds, option, len(got)))


# (description, comment, link) of the points of the text sections; an empty
# text is one the point lacks.
TEXTS = [
    ("東京タワーの展望台", "入場は 9時から", "https://example.com/tower?a=1&b=2"),
    ('The "Big" One, & more', "<b>not bold</b>", ""),
    ("Shiba, Minato  (two  blanks)", "", "http://example.com/shiba"),
    ("", "comment only, 備考", ""),
    ("富士山 5合目 <行き方>", "it's 'quoted'", "https://example.com/ふじ"),
    ("", "", ""),
]


def text_rows(count):
    return [("Text point %d" % i, 30 + i * 0.01, 135 + i * 0.01) + TEXTS[i % len(TEXTS)]
            for i in range(count)]


def write_table(path, header, rows):
    with open(path, "w", newline="", encoding="utf-8") as table:
        writer = csv.writer(table)
        writer.writerow(header)
        writer.writerows(rows)


def table_rows(path):
    with open(path, newline="", encoding="utf-8-sig") as table:
        return list(csv.DictReader(table))


def gpx_texts(path):
    """(desc, cmt, link) of the waypoints of a GPX file: GPX 1.1's first
    link href, GPX 1.0's url."""
    root = ET.parse(path).getroot()
    ns = root.tag[1:root.tag.index("}")]
    texts = []
    for w in root.iter("{%s}wpt" % ns):
        link = w.find("{%s}link" % ns)
        href = link.get("href", "") if link is not None else w.findtext("{%s}url" % ns, "")
        texts.append((w.findtext("{%s}desc" % ns, ""), w.findtext("{%s}cmt" % ns, ""), href))
    return texts


def kml_descriptions(path):
    root = ET.parse(path).getroot()
    ns = root.tag[1:root.tag.index("}")]
    return [p.findtext("{%s}description" % ns, "") for p in root.iter("{%s}Placemark" % ns)
            if p.find("{%s}Point" % ns) is not None]


def check_texts(label, ours, theirs):
    """Velorin's texts against the peer's; Velorin makes runs of white space
    one blank (its title rule), the peers keep them, so both are compared
    collapsed."""
    check(len(ours) == len(theirs), "%s: %d points, peer %d" % (label, len(ours), len(theirs)))
    for i, (got, expected) in enumerate(zip(ours, theirs)):
        check(tuple(map(collapse, got)) == tuple(map(collapse, expected)),
              "%s: point %d has %r, peer %r" % (label, i, got, expected))


def gpsbabel_writes_texts(cli, work):
    reference = work / "texts.csv"
    # GPSBabel's CSV: its "description" column goes to GPX cmt, "notes" to
    # desc, "url" to the GPX 1.0 url; its KML has a single description, the
    # link when there is one, else the comment.
    write_table(reference, ["name", "lat", "lon", "notes", "description", "url"],
                text_rows(60))
    babel_gpx, babel_kml = work / "texts-babel.gpx", work / "texts-babel.kml"
    run("gpsbabel", "-i", "unicsv", "-f", reference, "-o", "gpx", "-F", babel_gpx)
    run("gpsbabel", "-i", "unicsv", "-f", reference, "-o", "kml", "-F", babel_kml)
    expected = gpx_texts(babel_gpx)
    check(any(all(t) for t in expected), "GPSBabel wrote no texts: %r" % expected[:3])
    ours_csv, ours_json = work / "texts-ours.csv", work / "texts-ours.geojson"
    run(cli, "convert", "--force", babel_gpx, ours_csv)
    run(cli, "convert", "--force", babel_gpx, ours_json)
    check_texts("GPSBabel gpx -> velorin csv", [
        (r.get("description", ""), r.get("comment", ""), r.get("url", ""))
        for r in table_rows(ours_csv)], expected)
    features = json.loads(ours_json.read_text(encoding="utf-8"))["features"]
    check_texts("GPSBabel gpx -> velorin geojson", [
        tuple(f["properties"].get(key, "") for key in ("description", "comment", "url"))
        for f in features], expected)
    print("GPSBabel gpx -> velorin csv, geojson: desc, cmt and url of %d points kept"
          % len(expected))
    kml_csv = work / "texts-ours-kml.csv"
    run(cli, "convert", "--force", babel_kml, kml_csv)
    descriptions = kml_descriptions(babel_kml)
    check_texts("GPSBabel kml -> velorin csv",
                [(r.get("description", ""),) for r in table_rows(kml_csv)],
                [(d,) for d in descriptions])
    print("GPSBabel kml -> velorin csv: description of %d points kept" % len(descriptions))


def velorin_writes_texts(cli, work):
    source = work / "texts-velorin.csv"
    rows = text_rows(60)
    write_table(source, ["name", "latitude", "longitude", "description", "comment", "url"], rows)
    written = [tuple(map(collapse, row[3:])) for row in rows]
    ours_gpx, ours_kml = work / "texts-velorin.gpx", work / "texts-velorin.kml"
    run(cli, "convert", "--force", source, ours_gpx)
    run(cli, "convert", "--force", source, ours_kml)
    check(gpx_texts(ours_gpx) == written, "velorin's GPX does not hold the CSV's texts")
    back = work / "texts-back.gpx"
    run("gpsbabel", "-i", "gpx", "-f", ours_gpx, "-o", "gpx", "-F", back)
    # GPSBabel fills a missing cmt with the desc and a missing desc with the
    # cmt: a copy of the other text counts as no text.
    theirs = [("" if d == c and not ours[0] else d, "" if c == d and not ours[1] else c, link)
              for (d, c, link), ours in zip(gpx_texts(back), written)]
    check_texts("velorin gpx -> GPSBabel", written, theirs)
    print("velorin gpx -> GPSBabel: desc, cmt and link of %d points kept" % len(theirs))
    kml_back = work / "texts-back.csv"
    run("gpsbabel", "-i", "kml", "-f", ours_kml, "-o", "unicsv", "-F", kml_back)
    # GPSBabel's KML reader takes the description only (not the comment in
    # ExtendedData nor atom:link), and its CSV gives the name for a point
    # without one.
    check_texts("velorin kml -> GPSBabel", [(d,) for d, _, _ in written],
                [("" if r["Description"] == r["Name"] else r["Description"],)
                 for r in table_rows(kml_back)])
    print("velorin kml -> GPSBabel: description of %d points kept" % len(written))


GPXX_NS = "http://www.garmin.com/xmlschemas/GpxExtensions/v3"
ADDRESS = ("1-2-3 Ginza", "Chuo", "Tokyo", "104-0061", "Japan")


def planner_gpx(path, rows):
    """A route planner's waypoints: desc, cmt, link, and a Garmin address
    in parts with a telephone number."""
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<gpx version="1.1" creator="peer" xmlns="http://www.topografix.com/GPX/1/1" '
             'xmlns:gpxx="%s">' % GPXX_NS]
    street, city, state, postcode, country = ADDRESS
    for name, latitude, longitude, desc, cmt, link in rows:
        lines.append(
            '<wpt lat="%.6f" lon="%.6f"><name>%s</name><cmt>%s</cmt><desc>%s</desc>'
            '<link href=%s/><extensions><gpxx:WaypointExtension><gpxx:PhoneNumber>03-1234'
            '</gpxx:PhoneNumber><gpxx:Address><gpxx:StreetAddress>%s</gpxx:StreetAddress>'
            '<gpxx:City>%s</gpxx:City><gpxx:State>%s</gpxx:State><gpxx:Country>%s'
            '</gpxx:Country><gpxx:PostalCode>%s</gpxx:PostalCode></gpxx:Address>'
            '</gpxx:WaypointExtension></extensions></wpt>'
            % (latitude, longitude, escape(name), escape(cmt), escape(desc), quoteattr(link),
               street, city, state, country, postcode))
    path.write_text("\n".join(lines + ["</gpx>", ""]), encoding="utf-8")


def gpsbabel_csv_of_a_planner(cli, work):
    rows = [r for r in text_rows(24) if all(r[3:])]
    planner, babel_csv = work / "planner.gpx", work / "planner-babel.csv"
    planner_gpx(planner, rows)
    run("gpsbabel", "-i", "gpx", "-f", planner, "-o", "unicsv", "-F", babel_csv)
    header = next(csv.reader(open(babel_csv, newline="", encoding="utf-8")))
    check({"Description", "Notes", "City", "PostalCode"} <= set(header),
          "GPSBabel's CSV has no Description, Notes, City or PostalCode: %r" % header)
    babel_gpx, ours = work / "planner-babel-back.gpx", work / "planner-ours.gpx"
    run("gpsbabel", "-i", "unicsv", "-f", babel_csv, "-o", "gpx", "-F", babel_gpx)
    run(cli, "convert", "--force", babel_csv, ours)
    check_texts("GPSBabel csv -> velorin gpx", gpx_texts(ours), gpx_texts(babel_gpx))
    root = ET.parse(ours).getroot()
    addresses = [a.text for a in root.iter("{%s}StreetAddress" % GPXX_NS)]
    # In the order of GPSBabel's columns.
    columns = [header.index(c) for c in ("Address", "City", "PostalCode", "State", "Country")]
    order = [ADDRESS[i] for i in (0, 1, 3, 2, 4)]
    expected = ", ".join(part for _, part in sorted(zip(columns, order)))
    check(addresses == [expected] * len(rows),
          "velorin's addresses %r, expected %r" % (addresses[:2], expected))
    print("GPSBabel csv -> velorin gpx: desc, cmt, link and the address of %d points kept"
          % len(rows))


def main():
    cli, work = sys.argv[1], Path(sys.argv[2])
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    gpsbabel_writes(cli, work)
    velorin_writes(cli, work)
    routes_and_tracks(cli, work)
    gpsbabel_writes_texts(cli, work)
    velorin_writes_texts(cli, work)
    gpsbabel_csv_of_a_planner(cli, work)


if __name__ == "__main__":
    main()
