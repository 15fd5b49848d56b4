#!/usr/bin/env python3
"""Writes the reference cases that go from one point format to another:
POT, NVI, GPX, KML, KMZ, CSV and GeoJSON in, NVI, POT, GPX, KML, CSV and
GeoJSON out.

Usage: python3 tests/reference/make_format_cases.py tests/cases

As in make_cases.py, every input is written here point by point beside what
must become of each point, and every expected file is derived from the
formats' rules written out below; velorin-cli is never run to make them.
Each expected GPX, KML and CSV file is then read by an independent reader
(GPSBabel for GPX and KML, GDAL's ogr2ogr for CSV and GeoJSON), which must find the same
names and positions (within 1e-7 degree).
Each case folder gets an "origin" file saying how its files were made.
"""
import io
import json
import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

UNITS = 11930464           # code units per degree
MAX_UNITS = 180 * UNITS    # the largest angle an NVI file holds
STAMP = "2010/04/01_14:30:00"
NO_TITLE = b"no title"


# ---- Positions -------------------------------------------------------------

class Deg:
    """Decimal degrees as a reader parses them from text (a double)."""
    def __init__(self, lon, lat):
        self.lon, self.lat = float(lon), float(lat)


class Units:
    """The two angle integers of an NVI position code."""
    def __init__(self, x, y):
        self.x, self.y = x, y


def angle(d=0, m=0, s=0, t=0):
    """A POT coordinate text's degrees, summed in the reader's order."""
    return ((d + m / 60) + s / 3600) + t / 36000


def spread(value):
    return sum(((value >> i) & 1) << (2 * i) for i in range(31))


def code_of_units(x, y):
    return "$%016X" % (spread(x) | (spread(y) << 1))


def units_of(degrees):
    return math.floor(degrees * UNITS + 0.5)


def code(pos):
    if isinstance(pos, Units):
        return code_of_units(pos.x, pos.y)
    return code_of_units(units_of(pos.lon), units_of(pos.lat))


assert code(Deg(0, 0)) == "$0000000000000000"
assert code(Deg(180, 0)) == "$1555555555554000"
assert code(Deg(135, 35)) == "$13D5FD5FD5FD4C00"
assert code(Deg(angle(139, 46, 1, 6), angle(35, 40, 52, 3))) == "$168736AFD305033D"
assert code(Units(MAX_UNITS, MAX_UNITS)) == "$3FFFFFFFFFFFC000"


def decimal_of_units(units):
    """Nine decimals, rounded exactly from the integer, halves up."""
    whole, rest = divmod(units, UNITS)
    fraction = (rest * 10**9 * 2 + UNITS) // (2 * UNITS)
    if fraction == 10**9:
        whole, fraction = whole + 1, 0
    return "%d.%09d" % (whole, fraction)


def decimal_of_degrees(degrees):
    """Nine decimals of the double, correctly rounded; zero never signed."""
    return "%.9f" % (0.0 if degrees == 0 else degrees)


assert decimal_of_units(MAX_UNITS) == "180.000000000"
assert decimal_of_units(1) == "0.000000084"
assert decimal_of_degrees(-0.0) == "0.000000000"


def decimals(pos):
    """(longitude, latitude) texts of GPX, KML and CSV files."""
    if isinstance(pos, Units):
        return decimal_of_units(pos.x), decimal_of_units(pos.y)
    return decimal_of_degrees(pos.lon), decimal_of_degrees(pos.lat)


def pot_tenths(tenths):
    return "%d'%d'%d'%d" % (tenths // 36000, tenths % 36000 // 600, tenths % 600 // 10, tenths % 10)


def pot_angle_of_degrees(degrees):
    """Rounded to whole tenths of a second, halves away from zero."""
    product = degrees * 36000.0
    whole = math.floor(product)
    return pot_tenths(whole + (1 if product - whole >= 0.5 else 0))


def pot_angle_of_units(units):
    return pot_tenths((units * 36000 * 2 + UNITS) // (2 * UNITS))


assert pot_angle_of_degrees(angle(139, 46, 1, 6)) == "139'46'1'6"
assert pot_angle_of_degrees(angle(35, 99, 99, 9)) == "36'40'39'9"
assert pot_angle_of_units(MAX_UNITS) == "180'0'0'0"


def pot_angles(pos):
    if isinstance(pos, Units):
        return pot_angle_of_units(pos.x), pot_angle_of_units(pos.y)
    return pot_angle_of_degrees(pos.lon), pot_angle_of_degrees(pos.lat)


def degrees(pos):
    if isinstance(pos, Units):
        return pos.x / UNITS, pos.y / UNITS
    return pos.lon, pos.lat


# ---- Writers: what each output format makes of a list of points ------------
# A point is (title, position): the title in CP932 bytes, b"" when the
# input named none (written as "no title" when untitled points are kept).

def sj(text):
    return text.encode("cp932")


class UTitle(bytes):
    """A title that UTF-8 files keep as it is (`unicode`) but CP932 files can
    only hold by the closest characters (the bytes themselves)."""
    def __new__(cls, cp932, unicode):
        title = super().__new__(cls, cp932)
        title.unicode = unicode
        return title


def shown(title):
    return title if title else NO_TITLE


def nvi_block(pos_code, title, stamp=STAMP, end=b"\n"):
    lines = [b"NPOIs100@NRA/R1;", b" " + stamp.encode() + b"_JST;", b" 255;",
             b" " + pos_code.encode() + b";", b" TTL= {" + title + b"};", b" CHAR = SJIS;",
             b" ADDR = {};", b" HPGL = {};", b" MAIL = {};", b" LNKF = {};", b" COMM = {};",
             b"eoNPOIs@NRA"]
    return b"".join(line + end for line in lines)


def write_nvi(points):
    return b"".join(nvi_block(code(pos), shown(title)) for title, pos in points)


def pot_title(title):
    """A POT line's field ends at "/" and its latitude key is "ido=" in any
    case: both become full width; a line break becomes a blank; a title
    that starts or ends with a quote gets one more at each end."""
    text = title.replace(b"/", sj("／")).replace(b"\r", b" ").replace(b"\n", b" ")
    out, at = b"", 0
    while at < len(text):
        if text[at:at + 4].lower() == b"ido=":
            out += text[at:at + 3] + sj("＝")
            at += 4
        elif (0x81 <= text[at] <= 0x9F or 0xE0 <= text[at] <= 0xFC) and at + 1 < len(text):
            # a double-byte character: its trail byte may be a letter
            out += text[at:at + 2]
            at += 2
        else:
            out += text[at:at + 1]
            at += 1
    if out.startswith(b'"') or out.endswith(b'"'):
        out = b'"' + out + b'"'
    return out


def write_pot(points):
    lines = []
    for title, pos in points:
        lon, lat = pot_angles(pos)
        lines.append(b"ORD=POI/tex=" + pot_title(shown(title)) + b"/kei=" + lon.encode() +
                     b"/ido=" + lat.encode() + b"\r\n")
    return b"".join(lines)


def utf8_title(title):
    if isinstance(title, UTitle):
        return title.unicode
    return shown(title).decode("cp932")


XML_ESCAPES = {"&": "&amp;", "<": "&lt;", ">": "&gt;", '"': "&quot;", "'": "&apos;",
               "\t": "&#9;", "\n": "&#10;", "\r": "&#13;"}


def xml_text(text):
    return "".join(XML_ESCAPES.get(c, c) for c in text)


def write_gpx(points):
    out = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<gpx version="1.1" creator="Velorin" xmlns="http://www.topografix.com/GPX/1/1">\n')
    for title, pos in points:
        lon, lat = decimals(pos)
        out += ('  <wpt lat="%s" lon="%s">\n    <name>%s</name>\n  </wpt>\n'
                % (lat, lon, xml_text(utf8_title(title))))
    return (out + "</gpx>\n").encode()


def write_kml(points):
    out = ('<?xml version="1.0" encoding="UTF-8"?>\n'
           '<kml xmlns="http://www.opengis.net/kml/2.2">\n<Document>\n')
    for title, pos in points:
        lon, lat = decimals(pos)
        out += ('  <Placemark>\n    <name>%s</name>\n'
                '    <Point><coordinates>%s,%s</coordinates></Point>\n  </Placemark>\n'
                % (xml_text(utf8_title(title)), lon, lat))
    return (out + "</Document>\n</kml>\n").encode()


def csv_field(text):
    if any(c in text for c in ',"\r\n') or text[:1] == " " or text[-1:] == " ":
        return '"' + text.replace('"', '""') + '"'
    return text


def write_csv(points):
    out = "name,latitude,longitude\r\n"
    for title, pos in points:
        lon, lat = decimals(pos)
        out += "%s,%s,%s\r\n" % (csv_field(utf8_title(title)), lat, lon)
    return out.encode()


def write_geojson(points):
    """One Point feature a line; json.dumps escapes as RFC 8259 says (quote,
    backslash, control characters as \\n or \\u00XX) and keeps the rest."""
    features = []
    for title, pos in points:
        lon, lat = decimals(pos)
        features.append('{"type": "Feature", "properties": {"name": %s}, "geometry": '
                        '{"type": "Point", "coordinates": [%s, %s]}}'
                        % (json.dumps(utf8_title(title), ensure_ascii=False), lon, lat))
    body = ",\n".join(features)
    return ('{"type": "FeatureCollection", "features": [\n' + body + ("\n" if body else "") +
            "]}\n").encode()


WRITERS = {"nvi": write_nvi, "pot": write_pot, "gpx": write_gpx, "kml": write_kml,
           "csv": write_csv, "geojson": write_geojson}


# ---- Inputs: each entry pairs its text with the point it must become -------
# The point is (title bytes, position), or None when the entry is skipped
# whatever the options. An untitled point (b"") is dropped by --untitled=skip.

def pot_input():
    def line(text, point):
        return (text.encode("cp932") + b"\r\n", point)
    return [
        line("ORD=POI/tex=東京タワー/kei=139'44'43'6/ido=35'39'30'9",
             (sj("東京タワー"), Deg(angle(139, 44, 43, 6), angle(35, 39, 30, 9)))),
        line("ORD=POI/tex=\"Fish & Chips\"/kei=139'46'1'6/ido=35'40'52'3",
             (b"Fish & Chips", Deg(angle(139, 46, 1, 6), angle(35, 40, 52, 3)))),
        line("ORD=POI/tex=Joe's <Bar>, Namba/kei=135'30'0'0/ido=34'41'0'0/tel=06-0000-0000",
             (b"Joe's <Bar>, Namba", Deg(angle(135, 30), angle(34, 41)))),
        line("ORD=POI/tex=/kei=135'30'0'1/ido=34'41'0'1",
             (b"", Deg(angle(135, 30, 0, 1), angle(34, 41, 0, 1)))),
        line("ORD=POI/tex=Nowhere/kei=139'46'1'6", None),             # no latitude
        line("not a point line", None),
        line("ORD=POI/tex=ﾄｳｷｮｳ 駅/kei=35'99'99'9/ido=0'0'0'0",        # minutes past 59
             (sj("ﾄｳｷｮｳ 駅"), Deg(angle(35, 99, 99, 9), 0))),
        line("ORD=POI/tex=\"Quoted\" twice\"/kei=180'0'0'0/ido=90'0'0'0",
             (b"Quoted\" twice", Deg(180, 90))),
    ]


def pot_bytes(entries):
    return b"".join(text for text, _ in entries)


# Angle integers: the extremes, one unit, and positions whose nine decimals
# and tenths of seconds are rounded.
NVI_POINTS = [
    (sj("東京タワー"), Units(1667193563, 425420711)),
    (b"Fish & Chips <Soho>", Units(1667211263, 425436391)),
    (sj("大阪城"), Units(1616875301, 413836655)),
    (b"Joe's", Units(1, 0)),
    (sj("ﾄｳｷｮｳ"), Units(MAX_UNITS, 90 * UNITS)),
    (b"Shiba, Minato", Units(1667224891, 425275555)),
    (sj("富士山 5合目"), Units(1655091021, 421812222)),
]


def nvi_input(crlf=False):
    """Blocks as velorin writes them, and what no reader can take."""
    end = b"\r\n" if crlf else b"\n"
    entries = [(nvi_block(code(pos), title, "2009/12/31_23:59:59", end), (title, pos))
               for title, pos in NVI_POINTS]
    odd = [
        (nvi_block(code_of_units(100, 200), b"A/B ido=1 \"q\"", STAMP, end),
         (b"A/B ido=1 \"q\"", Units(100, 200))),
        (nvi_block(code_of_units(300, 400), b"", STAMP, end), (b"", Units(300, 400))),
        # The latitude's bit 31 set: beyond 180 degrees.
        (nvi_block("$4000000000000000", b"Beyond", STAMP, end), None),
        (b"stray text" + end, None),
        # A block without its closer.
        (nvi_block(code_of_units(5, 5), b"Broken", STAMP, end).replace(b"eoNPOIs@NRA", b"eoNPOIs"),
         None),
    ]
    if not crlf:
        # A title over two lines (LF files only): the reader joins them.
        odd.insert(0, (nvi_block(code_of_units(7, 8), b"Two\nLines", STAMP, end),
                       (b"Two\nLines", Units(7, 8))))
    return entries[:3] + odd[:2] + entries[3:] + odd[2:]


def markup_document(parts):
    """The bytes of a GPX or KML document made of (head, entries, tail), and
    the points its entries stand for."""
    head, entries, tail = parts
    return (head + "".join(t for t, _ in entries) + tail).encode(), [p for _, p in entries]


def gpx_input():
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<gpx version="1.1" creator="hand" xmlns="http://www.topografix.com/GPX/1/1"'
            ' xmlns:x="urn:example:extension">\n'
            '  <metadata><name>Trip</name></metadata>\n')
    entries = [
        ('  <wpt lat="35.658581" lon="139.745433"><ele>333</ele><name>東京タワー</name></wpt>\n',
         (sj("東京タワー"), Deg("139.745433", "35.658581"))),
        ('  <wpt lon="135.5259" lat="34.6873">\n    <name>Osaka &amp; &lt;Castle&gt;</name>\n'
         '    <extensions><x:name>not the name</x:name></extensions>\n  </wpt>\n',
         (b"Osaka & <Castle>", Deg("135.5259", "34.6873"))),
        ('  <wpt lat="51.500729" lon="-0.124625"><name>Big Ben</name></wpt>\n',
         (b"Big Ben", Deg("-0.124625", "51.500729"))),
        ('  <wpt lat=" +3.56467e1 " lon="139.7481"><name>  Shiba,\n\t Minato  </name></wpt>\n',
         (b"Shiba, Minato", Deg("139.7481", "35.6467"))),
        ('  <wpt lat="35.360626" lon="138.727363"/>\n', (b"", Deg("138.727363", "35.360626"))),
        ('  <wpt lat="north" lon="139"><name>Nowhere</name></wpt>\n', None),
        ('  <rte><rtept lat="35" lon="139"><name>route point</name></rtept></rte>\n', None),
        ('  <wpt lat="33.7" lon="135.99"><name>Shingū &#x6771;<![CDATA[ "A/B" ]]></name></wpt>\n',
         (UTitle(b"Shingu \x93\x8c \"A/B\"", "Shingū 東 \"A/B\""), Deg("135.99", "33.7"))),
        ('  <wpt lat="0" lon="180"><name>Joe\'s</name></wpt>\n', (b"Joe's", Deg(180, 0))),
        ('  <trk><name>track</name><trkseg><trkpt lat="35" lon="139"/></trkseg></trk>\n', None),
    ]
    assert sj("東") == b"\x93\x8c"
    return head, entries, "</gpx>\n"


def kml_input():
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<kml xmlns="http://www.opengis.net/kml/2.2" xmlns:gx="http://www.google.com/kml/ext/2.2">\n'
            '<Document>\n  <name>Trip</name>\n  <Folder>\n    <name>Tokyo</name>\n')
    entries = [
        ('    <Placemark>\n      <name>東京タワー</name>\n      <description>333 m</description>\n'
         '      <Point><coordinates>139.745433,35.658581,333</coordinates></Point>\n'
         '    </Placemark>\n',
         (sj("東京タワー"), Deg("139.745433", "35.658581"))),
        ('    <Folder>\n      <Placemark><name><![CDATA[Fish & Chips <Soho>]]></name>\n'
         '        <Point><coordinates>\n          -0.1337,51.5136\n        </coordinates></Point>\n'
         '      </Placemark>\n    </Folder>\n  </Folder>\n',
         (b"Fish & Chips <Soho>", Deg("-0.1337", "51.5136"))),
        ('  <Placemark><name>Route</name><LineString><coordinates>139,35 140,36</coordinates>'
         '</LineString></Placemark>\n', None),
        ('  <Placemark><Point><coordinates> 135.5259 , 34.6873 </coordinates></Point></Placemark>\n',
         (b"", Deg("135.5259", "34.6873"))),
        ('  <Placemark><name>Shiba,   Minato</name><gx:balloonVisibility>1</gx:balloonVisibility>'
         '<Point><coordinates>139.7481,35.6467</coordinates></Point></Placemark>\n',
         (b"Shiba, Minato", Deg("139.7481", "35.6467"))),
        ('  <Placemark><name>Semicolons</name><Point><coordinates>139.7;35.6</coordinates>'
         '</Point></Placemark>\n', None),
        ('  <Placemark><name>"Tokyo" ido=Station/Exit</name><Point><coordinates>139.767125,'
         '35.681236</coordinates></Point></Placemark>\n',
         (b"\"Tokyo\" ido=Station/Exit", Deg("139.767125", "35.681236"))),
    ]
    return head, entries, "</Document>\n</kml>\n"


def kmz_kml():
    head = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<kml xmlns="http://www.opengis.net/kml/2.2"><Document>\n')
    entries = [
        ('<Placemark><name>富士山</name><Point><coordinates>138.727363,35.360626,3776'
         '</coordinates></Point></Placemark>\n', (sj("富士山"), Deg("138.727363", "35.360626"))),
        ('<Placemark><name>Sydney</name><Point><coordinates>151.2093,-33.8688</coordinates>'
         '</Point></Placemark>\n', (b"Sydney", Deg("151.2093", "-33.8688"))),
        ('<Placemark><name>金閣寺 &amp; garden</name><Point><coordinates>135.729243,35.03937'
         '</coordinates></Point></Placemark>\n', (sj("金閣寺 & garden"), Deg("135.729243", "35.03937"))),
        ('<Placemark><Point><coordinates>135.525900,34.687300</coordinates></Point></Placemark>\n',
         (b"", Deg("135.5259", "34.6873"))),
    ]
    return head, entries, "</Document></kml>\n"


ZIP_TIME = (2010, 4, 1, 14, 30, 0)


def kmz_bytes(kml):
    """A zip with a member before the KML file and a second KML file that
    is not read."""
    data = io.BytesIO()
    with zipfile.ZipFile(data, "w") as archive:
        def add(name, content, method):
            info = zipfile.ZipInfo(name, ZIP_TIME)
            info.compress_type = method
            archive.writestr(info, content)
        add("files/readme.txt", b"Pictures would go here.\n", zipfile.ZIP_STORED)
        add("doc.kml", kml, zipfile.ZIP_DEFLATED)
        add("z/other.kml", b"<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark><name>Other"
            b"</name><Point><coordinates>1,1</coordinates></Point></Placemark></kml>\n",
            zipfile.ZIP_DEFLATED)
    return data.getvalue()


def csv_input():
    """UTF-8 with a byte-order mark, comma-separated, Japanese header."""
    rows = [
        ("東京タワー,35.658581,139.745433,333 m", (sj("東京タワー"), Deg("139.745433", "35.658581"))),
        ('"Shiba, Minato",35.6467,139.7481,', (b"Shiba, Minato", Deg("139.7481", "35.6467"))),
        ('"The ""Big""\r\nOne",43.0621,141.3544,"two\r\nlines"',
         (b"The \"Big\" One", Deg("141.3544", "43.0621"))),
        (",34.6873,135.5259,untitled", (b"", Deg("135.5259", "34.6873"))),
        ("Big Ben,51.500729,-0.124625,west", (b"Big Ben", Deg("-0.124625", "51.500729"))),
        ("Nowhere,north,139,not a number", None),
        ("", None),
        ("Far east,35,180.0000001,beyond 180", None),
        ("Null Island,-0,0,negative zero", (b"Null Island", Deg(0, -0.0))),
        ("大阪城,34.687315,135.526201,", (sj("大阪城"), Deg("135.526201", "34.687315"))),
    ]
    head = "\ufeff名称,緯度,経度,メモ\r\n"
    return head, [((text + "\r\n") if text else "\r\n", point) for text, point in rows]


def csv_cp932_tab_input():
    """CP932, TAB-separated, English header in another order."""
    rows = [
        ("lon\tname\tlat", None),
        ("139.745433\t東京タワー\t35.658581", (sj("東京タワー"), Deg("139.745433", "35.658581"))),
        ("135.5259\tA/B ido=1\t34.6873", (b"A/B ido=1", Deg("135.5259", "34.6873"))),
        ("135.526201\t\"大阪城\"\t34.687315", (sj("大阪城"), Deg("135.526201", "34.687315"))),
        ("-0.124625\tBig Ben\t51.500729", (b"Big Ben", Deg("-0.124625", "51.500729"))),
    ]
    data = b"".join(sj(text) + b"\r\n" for text, _ in rows)
    return data, [point for _, point in rows[1:]]


def geojson_input():
    """A FeatureCollection as GDAL or a map account writes it: a crs naming
    CRS84, titles by each fallback, a MultiPoint, a GeometryCollection,
    members in another order, a line string, a null geometry."""
    head = ('{\n"type": "FeatureCollection",\n"name": "places",\n'
            '"crs": { "type": "name", "properties": { "name": '
            '"urn:ogc:def:crs:OGC:1.3:CRS84" } },\n"features": [\n')
    entries = [
        ('{ "type": "Feature", "properties": { "name": "東京タワー", "height": 333 }, '
         '"geometry": { "type": "Point", "coordinates": [ 139.745433, 35.658581, 333.0 ] } },\n',
         (sj("東京タワー"), Deg("139.745433", "35.658581"))),
        ('{ "type": "Feature", "properties": { "title": "Osaka \\"Castle\\" \\u0026 Park" },\n'
         '  "geometry": { "type": "Point", "coordinates": [ 135.5259, 34.6873 ] } },\n',
         (b'Osaka "Castle" & Park', Deg("135.5259", "34.6873"))),
        ('{ "geometry": { "coordinates": [ 139.7481, 35.6467 ], "type": "Point" },\n'
         '  "properties": { "date": "2024-05-01T10:00:00Z", "location": { "address": '
         '"Shiba, Minato", "name": "  Shiba,\\n\\t Minato  " } }, "type": "Feature" },\n',
         (b"Shiba, Minato", Deg("139.7481", "35.6467"))),
        ('{ "type": "Feature", "properties": { "Title": "Shingū 東" }, "geometry": '
         '{ "type": "MultiPoint", "coordinates": [\n  [ 135.99, 33.7 ],\n', None),
        ('  [ -0.124625, 51.500729 ] ] } },\n', None),
        ('{ "type": "Feature", "properties": { "name": "Route" }, "geometry": '
         '{ "type": "LineString", "coordinates": [ [ 139, 35 ], [ 140, 36 ] ] } },\n', None),
        ('{ "type": "Feature", "properties": { "name": null }, "geometry": '
         '{ "type": "Point", "coordinates": [ 138.727363, 35.360626 ] } },\n',
         (b"", Deg("138.727363", "35.360626"))),
        ('{ "type": "Feature", "properties": { "name": "Nowhere" }, "geometry": '
         '{ "type": "Point", "coordinates": [ "139", 35 ] } },\n', None),
        ('{ "type": "Feature", "properties": { "name": "No geometry" }, "geometry": null },\n',
         None),
        ('{ "type": "Feature", "properties": { "name": "Joe\'s" }, "geometry": '
         '{ "type": "GeometryCollection", "geometries": [\n  { "type": "Point", '
         '"coordinates": [ 180, 0 ] },\n  { "type": "Polygon", "coordinates": [ [ [ 0, 0 ], '
         '[ 1, 0 ], [ 0, 1 ], [ 0, 0 ] ] ] } ] } }\n',
         (b"Joe's", Deg(180, 0))),
    ]
    # The MultiPoint's two positions are two points, spread over two entries.
    shingu = UTitle(b"Shingu \x93\x8c", "Shingū 東")
    entries[3] = (entries[3][0], (shingu, Deg("135.99", "33.7")))
    entries[4] = (entries[4][0], (shingu, Deg("-0.124625", "51.500729")))
    return head, entries, "]\n}\n"


# ---- Datums ----------------------------------------------------------------

def tokyo_crs():
    """The Tokyo datum as cs2cs takes it with the operation PROJ chooses
    between it and WGS 84 (projinfo -s EPSG:4301 -t EPSG:4326): its
    ellipsoid and its geocentric translation."""
    text = run_peer(["projinfo", "-s", "EPSG:4301", "-t", "EPSG:4326", "-o", "PROJ", "-q",
                     "--single-line"]).decode()
    ellipsoid = re.search(r"\+proj=cart \+ellps=(\S+)", text)
    helmert = re.search(r"\+proj=helmert \+x=(\S+) \+y=(\S+) \+z=(\S+)(?= \+step|$)", text)
    if ellipsoid is None or helmert is None:
        sys.exit("PROJ's operation is no geocentric translation: " + text)
    return ["+proj=longlat", "+ellps=" + ellipsoid.group(1),
            "+towgs84=" + ",".join(helmert.groups()), "+no_defs"]


def moved(positions, to_tokyo):
    """Deg positions moved by cs2cs from the Tokyo datum to WGS 84 (or back)."""
    if shutil.which("cs2cs") is None:
        sys.exit("cs2cs is needed to move positions between datums (Debian: proj-bin)")
    wgs84 = ["+to", "+proj=longlat", "+datum=WGS84", "+no_defs"]
    text = "".join("%.12f %.12f\n" % (p.lon, p.lat) for p in positions)
    result = subprocess.run(["cs2cs", "-f", "%.12f"] + (["-I"] if to_tokyo else []) +
                            tokyo_crs() + wgs84, input=text.encode(), capture_output=True,
                            check=True)
    return [Deg(*line.split()[:2]) for line in result.stdout.decode().splitlines()]


def tokyo_pot_input():
    """POT lines in the Tokyo datum, as an older unit's list has them."""
    rows = [("東京駅", (139, 46, 13, 3), (35, 40, 40, 8)),
            ("札幌駅", (141, 21, 16, 2), (43, 3, 58, 5)),
            ("那覇 県庁", (127, 40, 58, 4), (26, 12, 30, 1)),
            ("大阪駅", (135, 29, 55, 6), (34, 41, 57, 3)),
            ("南鳥島", (153, 59, 4, 4), (24, 16, 55, 1))]
    text = "".join("ORD=POI/tex=%s/kei=%d'%d'%d'%d/ido=%d'%d'%d'%d\r\n" % (name, *lon, *lat)
                   for name, lon, lat in rows)
    places = [Deg(angle(*lon), angle(*lat)) for _, lon, lat in rows]
    return text.encode("cp932"), [(sj(name), pos)
                                  for (name, _, _), pos in zip(rows, moved(places, False))]


def wgs84_csv_input():
    """CSV in WGS 84, one point of it west of Greenwich once in the Tokyo
    datum."""
    rows = [("Tokyo Station", "35.681236", "139.767125"),
            ("Hakata Station", "33.589728", "130.420727"),
            ("Null Island", "0.001", "0.001"),
            ("Cape Soya", "45.522361", "141.936722")]
    text = "name,lat,lon\r\n" + "".join("%s,%s,%s\r\n" % row for row in rows)
    places = moved([Deg(lon, lat) for _, lat, lon in rows], True)
    return text.encode(), [(name.encode(), pos) for (name, _, _), pos in zip(rows, places)]


# ---- Cases -----------------------------------------------------------------

def holds(pos, output_ext):
    """NVI and POT hold 0 to 180 degrees; GPX, KML and CSV the whole globe."""
    lon, lat = degrees(pos)
    if output_ext in ("nvi", "pot"):
        return 0 <= lon <= 180 and 0 <= lat <= 180
    return -180 <= lon <= 180 and -90 <= lat <= 90


def accepted(points, untitled="keep", output_ext="nvi"):
    return [p for p in points
            if p is not None and (p[0] or untitled == "keep") and holds(p[1], output_ext)]


class Cases:
    def __init__(self, root):
        self.root = root
        self.peer_checks = []   # (folder, extension, the points meant)

    def write(self, name, args, input_ext, input_bytes, expected_ext, expected_bytes, origin,
              input_name=None):
        d = os.path.join(self.root, name)
        shutil.rmtree(d, ignore_errors=True)
        os.makedirs(d)
        with open(os.path.join(d, "input." + input_ext), "wb") as f:
            f.write(input_bytes)
        with open(os.path.join(d, "expected." + expected_ext), "wb") as f:
            f.write(expected_bytes)
        with open(os.path.join(d, "args"), "w") as f:
            f.write("".join(a + "\n" for a in args))
        if input_name is not None:
            with open(os.path.join(d, "input_name"), "w", encoding="utf-8") as f:
                f.write(input_name + "\n")
        with open(os.path.join(d, "origin"), "w", encoding="utf-8") as f:
            f.write(origin.strip() + "\n")

    def pair(self, name, args, input_ext, input_bytes, output_ext, points, how_input,
             input_name=None, untitled="keep", note=""):
        written = accepted(points, untitled, output_ext)
        how_output = {
            "nvi": "the twelve-line blocks of make_cases.py, the position code worked out from "
                   "the degrees (floor(degrees * 11930464 + 0.5), bits interleaved) or taken "
                   "from the input's code",
            "pot": "one ORD=POI line per point, CP932, CR LF; angles rounded to tenths of a "
                   "second; \"/\" and \"ido=\" in titles made full width",
            "gpx": "one <wpt> per point, nine decimals, names in UTF-8 with XML escapes",
            "kml": "one <Placemark> with a <Point> per point, nine decimals, names in UTF-8",
            "csv": "name,latitude,longitude, CR LF, nine decimals, names in UTF-8 quoted "
                   "where they hold a comma, quote or line break",
            "geojson": "a FeatureCollection, one Point feature a line with properties.name, "
                       "nine decimals, names in UTF-8 with JSON escapes",
        }[output_ext]
        origin = ("input.%s: %s.\n"
                  "expected.%s: derived by tests/reference/make_format_cases.py from the points "
                  "the input must give (%d written), not by running velorin-cli: %s."
                  % (input_ext, how_input, output_ext, len(written), how_output))
        if output_ext in ("gpx", "kml", "csv", "geojson"):
            origin += ("\nChecked when made: %s reads the same names and positions "
                       "(within 1e-7 degree) from expected.%s."
                       % ("GDAL (ogr2ogr)" if output_ext in ("csv", "geojson") else "GPSBabel",
                          output_ext))
        origin += note
        self.write(name, args, input_ext, input_bytes, output_ext, WRITERS[output_ext](written),
                   origin, input_name)
        if output_ext in ("gpx", "kml", "csv", "geojson"):
            self.peer_checks.append((os.path.join(self.root, name), output_ext, written))

    def peer_check(self):
        """Peer readers read every expected GPX, KML and CSV file: they must
        find the points the generator meant to write. GPSBabel reads GPX and
        KML; GDAL reads CSV (GPSBabel's CSV reader takes no quoted line break)."""
        for tool in ("gpsbabel", "ogr2ogr"):
            if shutil.which(tool) is None:
                sys.exit("%s is needed to check the expected files (Debian: gpsbabel, gdal-bin)"
                         % tool)
        for d, ext, meant in self.peer_checks:
            path = os.path.join(d, "expected." + ext)
            read = (gdal_csv_points(path) if ext == "csv" else gdal_geojson_points(path)
                    if ext == "geojson" else gpsbabel_points(path, ext))
            if len(read) != len(meant):
                sys.exit("%s: the peer read %d points, %d meant" % (d, len(read), len(meant)))
            for (name, lon, lat), (title, pos) in zip(read, meant):
                want_lon, want_lat = degrees(pos)
                if abs(lon - want_lon) > 1e-7 or abs(lat - want_lat) > 1e-7:
                    sys.exit("%s: %r at %r, meant %r" % (d, name, (lon, lat), (want_lon, want_lat)))
                if name != utf8_title(title):
                    sys.exit("%s: name %r, meant %r" % (d, name, utf8_title(title)))
            print("%s reads %s/expected.%s: %d points as meant" %
                  ("GDAL" if ext in ("csv", "geojson") else "GPSBabel", os.path.basename(d), ext,
                   len(read)))


def run_peer(command):
    result = subprocess.run(command, capture_output=True)
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(command), result.stderr.decode()))
    return result.stdout


def gpsbabel_points(path, ext):
    """(name, longitude, latitude) as GPSBabel reads them, through its GPX."""
    with tempfile.TemporaryDirectory() as work:
        back = os.path.join(work, "back.gpx")
        run_peer(["gpsbabel", "-i", ext, "-f", path, "-o", "gpx", "-F", back])
        root = ET.parse(back).getroot()
    ns = {"g": root.tag[1:root.tag.index("}")]}
    return [(w.findtext("g:name", "", ns), float(w.get("lon")), float(w.get("lat")))
            for w in root.findall("g:wpt", ns)]


def gdal_csv_points(path):
    """(name, longitude, latitude) as GDAL's CSV driver reads them."""
    features = json.loads(run_peer(
        ["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", path, "-oo", "X_POSSIBLE_NAMES=longitude",
         "-oo", "Y_POSSIBLE_NAMES=latitude", "-oo", "KEEP_GEOM_COLUMNS=NO"]))["features"]
    return [(f["properties"]["name"], *f["geometry"]["coordinates"][:2]) for f in features]


def gdal_geojson_points(path):
    """(name, longitude, latitude) as GDAL's GeoJSON driver reads them."""
    features = json.loads(run_peer(["ogr2ogr", "-f", "GeoJSON", "/vsistdout/", path]))["features"]
    return [(f["properties"]["name"], *f["geometry"]["coordinates"][:2]) for f in features]


def main():
    cases = Cases(sys.argv[1])
    pair = cases.pair
    io_args = ["@IN@", "@OUT@"]

    # POT in (POT to NVI has cases of its own).
    entries = pot_input()
    how = ("POT lines in CP932 written by hand, each beside the point it must become: Japanese "
           "and half-width titles, quotes, an untitled line, a line without latitude and one "
           "that is no point line (skipped), minutes past 59")
    points = [p for _, p in entries]
    pair("pot_to_pot", io_args, "pot", pot_bytes(entries), "pot", points, how)
    pair("pot_to_gpx", ["--untitled=skip"] + io_args, "pot", pot_bytes(entries), "gpx", points,
         how + "; --untitled=skip", untitled="skip")
    pair("pot_to_kml", io_args, "pot", pot_bytes(entries), "kml", points, how)
    pair("pot_to_csv", io_args, "pot", pot_bytes(entries), "csv", points, how)

    # NVI in.
    entries = nvi_input()
    nvi = b"".join(text for text, _ in entries)
    points = [p for _, p in entries]
    how = ("NVI blocks (LF) written by hand from angle integers: the extremes 0, 1 unit and 180 "
           "degrees, Japanese and half-width titles, a title over two lines, an untitled block; "
           "a code beyond 180 degrees, a stray line and a block without its closer (skipped)")
    pair("nvi_to_nvi", io_args, "nvi", nvi, "nvi", points, how)
    pair("nvi_to_pot", io_args, "nvi", nvi, "pot", points, how)
    # The default output of an NVI file is GPX beside it.
    pair("nvi_to_gpx", ["@IN@"], "nvi", nvi, "gpx", points,
         how + "; no output named: input.gpx is written")
    entries_crlf = nvi_input(crlf=True)
    pair("nvi_to_kml", io_args, "nvi", b"".join(t for t, _ in entries_crlf), "kml",
         [p for _, p in entries_crlf], how.replace("(LF)", "(CR LF)").replace(
             ", a title over two lines", ""))
    pair("nvi_to_csv", ["--from=nvi", "--to=csv", "-", "-"], "nvi", nvi, "csv", points,
         how + "; read from standard input, written to standard output")

    # GPX in.
    gpx, points = markup_document(gpx_input())
    how = ("GPX 1.1 written by hand: waypoints with elevation, entities, a character "
           "reference, CDATA, white space runs, an extension's own <name>, \"Shingū\" (ū is "
           "not in CP932: \"u\"), an untitled waypoint, a route and a track (not read), a "
           "western and an unreadable waypoint (skipped)")
    pair("gpx_to_nvi", ["@IN@"], "gpx", gpx, "nvi", points,
         how + "; no output named: input.nvi is written")
    pair("gpx_to_pot", io_args, "gpx", gpx, "pot", points, how)
    pair("gpx_to_gpx", io_args, "gpx", gpx, "gpx", points, how)
    pair("gpx_to_kml", io_args, "gpx", gpx, "kml", points, how)
    pair("gpx_to_csv", ["--to=csv", "@IN@", "-"], "gpx", gpx, "csv", points,
         how + "; written to standard output")

    # KML in.
    kml, points = markup_document(kml_input())
    how = ("KML 2.2 written by hand: placemarks in nested folders, an altitude, CDATA, blanks "
           "around coordinates, a gx: extension, an untitled placemark, a line string (not "
           "read), a western point and coordinates split by semicolons (skipped)")
    pair("kml_to_nvi", ["@IN@"], "kml", kml, "nvi", points,
         how + "; named 地図.KML, no output named: 地図.nvi is written", input_name="地図.KML")
    pair("kml_to_pot", ["--untitled=skip"] + io_args, "kml", kml, "pot", points,
         how + "; --untitled=skip", untitled="skip")
    pair("kml_to_gpx", io_args, "kml", kml, "gpx", points, how)
    pair("kml_to_kml", io_args, "kml", kml, "kml", points, how)
    pair("kml_to_csv", io_args, "kml", kml, "csv", points, how)

    # KMZ in.
    kml_member, points = markup_document(kmz_kml())
    kmz = kmz_bytes(kml_member)
    how = ("a zip made with Python's zipfile: a stored text file, then doc.kml (deflated, "
           "written by hand: Japanese names, an altitude, an entity, an untitled placemark, a "
           "southern point that is skipped), then a second .kml that is not read")
    pair("kmz_to_nvi", ["@IN@"], "kmz", kmz, "nvi", points,
         how + "; no output named: input.nvi is written")
    pair("kmz_to_pot", io_args, "kmz", kmz, "pot", points, how)
    pair("kmz_to_gpx", io_args, "kmz", kmz, "gpx", points, how)
    pair("kmz_to_kml", io_args, "kmz", kmz, "kml", points, how)
    pair("kmz_to_csv", io_args, "kmz", kmz, "csv", points, how)

    # CSV in.
    head, rows = csv_input()
    csv_data = (head + "".join(t for t, _ in rows)).encode()
    points = [p for _, p in rows]
    how = ("CSV written by hand: UTF-8 with a byte-order mark, CR LF, a Japanese header with a "
           "fourth column, quoted fields with commas, doubled quotes and line breaks, a blank "
           "line, an untitled row, a negative zero; a western row, a latitude that is no "
           "number and a longitude past 180 (skipped)")
    pair("csv_to_nvi", ["--untitled=skip"] + io_args, "csv", csv_data, "nvi", points,
         how + "; --untitled=skip", untitled="skip")
    cp932_data, cp932_points = csv_cp932_tab_input()
    pair("csv_to_pot", io_args, "csv", cp932_data, "pot", cp932_points,
         "CSV in CP932 written by hand: TAB-separated, CR LF, columns lon, name, lat; a quoted "
         "Japanese name, a name with \"/\" and \"ido=\", a western row (skipped)")
    pair("csv_to_gpx", io_args, "csv", csv_data, "gpx", points, how)
    pair("csv_to_kml", io_args, "csv", csv_data, "kml", points, how)
    pair("csv_to_csv", io_args, "csv", csv_data, "csv", points, how)

    # GeoJSON in and out.
    head, entries, tail = geojson_input()
    geojson = (head + "".join(t for t, _ in entries) + tail).encode()
    points = [p for _, p in entries]
    how = ("GeoJSON written by hand as GDAL writes it (a crs naming CRS84, one feature a line "
           "or two): an elevation, JSON escapes, members in another order, titles from name, "
           "title, Title and location.name, a MultiPoint of two positions (one western, "
           "skipped), a GeometryCollection with a Point and a Polygon, an untitled point; a "
           "LineString, a null geometry and a position with a string (skipped or not read)")
    pair("geojson_to_nvi", ["@IN@"], "geojson", geojson, "nvi", points,
         how + "; no output named: input.nvi is written")
    entries = nvi_input()
    pair("nvi_to_geojson", io_args, "nvi", b"".join(t for t, _ in entries), "geojson",
         [p for _, p in entries],
         "the NVI blocks of nvi_to_nvi (angle integers: the extremes 0, 1 unit and 180 degrees, "
         "Japanese and half-width titles, a title over two lines, an untitled block; three "
         "entries skipped)")

    # Round trips: NVI to GPX to KML to CSV and back to NVI gives the very
    # blocks (with the run's time stamp) it started from; NVI to POT to NVI
    # moves no point by more than 0.05 seconds of arc.
    start = [(t, Units(x, y)) for t, (x, y) in [
        (sj("東京タワー"), (1667193563, 425420711)), (b"One unit", (1, 1)),
        (sj("端"), (MAX_UNITS, 90 * UNITS - 1)), (b"Fish & Chips", (1667211263, 425436391)),
        (b"Shiba, Minato", (1667224891, 425275555)), (b"Odd", (1234567891, 987654321))]]
    start_nvi = write_nvi(start)
    chain = [("nvi", "gpx"), ("gpx", "kml"), ("kml", "csv"), ("csv", "nvi")]
    data = start_nvi
    for source, target in chain:
        how = ("the round trip's %s: " % source.upper() +
               ("NVI blocks written by hand from angle integers" if source == "nvi" else
                "expected.%s of round_trip_%s_to_%s, copied" % (source, *previous)))
        name = "round_trip_%s_to_%s" % (source, target)
        # Each step's points: the angles come back exact at nine decimals.
        step = [(t, Units(p.x, p.y)) if source == "nvi" else
                (t, Deg(*decimals(p))) for t, p in start]
        pair(name, io_args, source, data, target, step, how,
             note="\nThe round trip ends where it began: this expected.nvi is input.nvi of "
                  "round_trip_nvi_to_gpx, byte for byte." if target == "nvi" else "")
        with open(os.path.join(cases.root, name, "expected." + target), "rb") as f:
            data = f.read()
        previous = (source, target)
    assert data == start_nvi, "the round trip does not come back to its start"
    pot = write_pot(start)
    # What a POT line makes of the tenths: the angle, then its code.
    back = []
    for (title, pos), line in zip(start, pot.split(b"\r\n")):
        lon_text, lat_text = line.split(b"/kei=")[1].split(b"/ido=")
        lon, lat = [angle(*map(int, t.split(b"'"))) for t in (lon_text, lat_text)]
        assert abs(lon - pos.x / UNITS) <= 0.05 / 3600 and abs(lat - pos.y / UNITS) <= 0.05 / 3600
        back.append((title, Deg(lon, lat)))
    pair("round_trip_pot_to_nvi", io_args, "pot", pot, "nvi", back,
         "the round trip's POT: what NVI to POT makes of the round trip's NVI blocks (the six "
         "points of round_trip_nvi_to_gpx), written by the same rules as nvi_to_pot")

    # Datums: positions moved by the operation PROJ chooses between the
    # Tokyo datum and WGS 84, as cs2cs moves them.
    pot, points = tokyo_pot_input()
    how = ("POT lines in CP932 written by hand, in the Tokyo datum: five places of Japan from "
           "Sapporo to Minami-Torishima; --input-datum=tokyo")
    pair("pot_tokyo_datum_to_nvi", ["--input-datum=tokyo"] + io_args, "pot", pot, "nvi", points,
         how, note="\nThe positions: the input's degrees moved to WGS 84 by cs2cs with the "
                   "operation PROJ chooses between the two datums (projinfo -s EPSG:4301 -t "
                   "EPSG:4326).")
    data, points = wgs84_csv_input()
    pair("csv_to_nvi_tokyo_datum", ["--output-datum=tokyo"] + io_args, "csv", data, "nvi", points,
         "CSV in WGS 84 written by hand: four places, one of them (0.001, 0.001) west of "
         "Greenwich once in the Tokyo datum (skipped); --output-datum=tokyo",
         note="\nThe positions: the input's degrees moved to the Tokyo datum by cs2cs with the "
              "operation PROJ chooses between the two datums, backwards (cs2cs -I).")

    cases.peer_check()


if __name__ == "__main__":
    main()
