#!/usr/bin/env python3
"""Writes the reference cases of tests/cases from expectations made by hand.

Usage: python3 tests/reference/make_cases.py tests/cases

Every expected file is derived here from the format rules: the coordinate
arithmetic and the twelve-line block are written out below, and each input
line is paired with what must become of it. velorin-cli is never run to
make them; the reference tests compare its output against these files.
"""
import math
import os
import sys

def angle(d=0, m=0, s=0, t=0):
    return ((d + m / 60) + s / 3600) + t / 36000

def position(lon, lat):
    assert 0 <= lon <= 180 and 0 <= lat <= 180
    x = math.floor(lon * 11930464 + 0.5)
    y = math.floor(lat * 11930464 + 0.5)
    code = 0
    for i in range(31):
        code |= ((x >> i) & 1) << (2 * i)
        code |= ((y >> i) & 1) << (2 * i + 1)
    return "$%016X" % code

# The worked examples of the position encoding must come out.
assert position(0, 0) == "$0000000000000000"
assert position(180, 0) == "$1555555555554000"
assert position(0, 180) == "$2AAAAAAAAAAA8000"
assert position(180, 180) == "$3FFFFFFFFFFFC000"
assert position(135, 35) == "$13D5FD5FD5FD4C00"
assert position(angle(139, 46, 1, 6), angle(35, 40, 52, 3)) == "$168736AFD305033D"
assert position(angle(135, 30), angle(34, 41)) == "$168099C7A8913920"
assert position(1 / 11930464, 0) == "$0000000000000001"

STAMP = "2010/04/01_14:30:00"

def block(pos, title, stamp=STAMP):
    if isinstance(title, str):
        title = title.encode("cp932")
    lines = [b"NPOIs100@NRA/R1;", b" " + stamp.encode() + b"_JST;", b" 255;",
             b" " + pos.encode() + b";", b" TTL= {" + title + b"};", b" CHAR = SJIS;",
             b" ADDR = {};", b" HPGL = {};", b" MAIL = {};", b" LNKF = {};", b" COMM = {};",
             b"eoNPOIs@NRA"]
    return b"".join(l + b"\n" for l in lines)

def log_line(count, remark):
    return b"Line# " + str(count).encode() + b"\t" + remark + b"\r\n"

SKIPPED = b"was Skipped"

def record_remark(title, lon_text, lat_text, pos):
    if isinstance(title, str):
        title = title.encode("cp932")
    return b"\t".join([title, lon_text.encode(), lat_text.encode(), pos.encode()])


ROOT = sys.argv[1]

def sj(text):
    return text.encode("cp932")

def write_case(name, args, input_bytes, blocks=None, log=None, exit_code=None, extra=None,
               input_name=None):
    d = os.path.join(ROOT, name)
    os.makedirs(d, exist_ok=True)
    if input_name is not None:
        with open(os.path.join(d, "input_name"), "w", encoding="utf-8") as f:
            f.write(input_name + "\n")
    with open(os.path.join(d, "input.pot"), "wb") as f:
        f.write(input_bytes)
    with open(os.path.join(d, "args"), "w") as f:
        f.write("".join(a + "\n" for a in args))
    if blocks is not None:
        with open(os.path.join(d, "expected.nvi"), "wb") as f:
            f.write(blocks)
    if log is not None:
        with open(os.path.join(d, "expected.log"), "wb") as f:
            f.write(log)
    if exit_code is not None:
        with open(os.path.join(d, "expected_exit"), "w") as f:
            f.write("%d\n" % exit_code)

def expect(lines, stamp=STAMP):
    """lines: list of (terminated input bytes, outcome). Returns input, nvi, log."""
    data, nvi, log, count = b"", b"", b"", 0
    for raw, outcome in lines:
        data += raw
        if outcome is None:
            log += log_line(count, SKIPPED)
            continue
        title, lon_text, lat_text, lon, lat = outcome
        if isinstance(title, str):
            title = sj(title)
        pos = position(lon, lat)
        nvi += block(pos, title, stamp)
        count += 1
        log += log_line(count, record_remark(title, lon_text, lat_text, pos))
    return data, nvi, log

TOWER = ("Tower", "139'46'1'6", "35'40'52'3", angle(139, 46, 1, 6), angle(35, 40, 52, 3))
UNTITLED = ("no title", "135'30'0'0", "34'41'0'0", angle(135, 30), angle(34, 41))

# The worked example of the NVI format: three lines, the first one empty.
WORKED = [
    (b"\r\n", None),
    (b"ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n", TOWER),
    (b"ORD=POI/tex=/kei=135'30'0'0/ido=34'41'0'0/\r\n", UNTITLED),
]
data, nvi, log = expect(WORKED)
assert nvi[:17] == bytes.fromhex("4E504F4973313030404E52412F52313B0A")
assert nvi.count(b"\n") == 24 and b"\r" not in nvi
assert log == (b"Line# 0\twas Skipped\r\n"
               b"Line# 1\tTower\t139'46'1'6\t35'40'52'3\t$168736AFD305033D\r\n"
               b"Line# 2\tno title\t135'30'0'0\t34'41'0'0\t$168099C7A8913920\r\n")
write_case("worked_example", ["--untitled=keep", "@IN@", "@OUT@"], data, nvi)
write_case("worked_example_log", ["--untitled=keep", "--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Untitled points: every way of having no title, skipped by default and kept
# as "no title" with --untitled=keep. A tab is content, not a blank.
def untitled_lines(keep):
    def u(lon, lat, lt, at):
        return ("no title", lt, at, lon, lat) if keep else None
    return [
        (b"ORD=POI/kei=139'0'0'0/ido=35'0'0'0\r\n", u(139, 35, "139'0'0'0", "35'0'0'0")),
        (b"ORD=POI/tex=/kei=139'0'0'1/ido=35'0'0'1\r\n",
         u(angle(139, 0, 0, 1), angle(35, 0, 0, 1), "139'0'0'1", "35'0'0'1")),
        (b"ORD=POI/tex=   /kei=139'0'0'2/ido=35'0'0'2\r\n",
         u(angle(139, 0, 0, 2), angle(35, 0, 0, 2), "139'0'0'2", "35'0'0'2")),
        (b"ORD=POI/tex=\"\"/kei=139'0'0'3/ido=35'0'0'3\r\n",
         u(angle(139, 0, 0, 3), angle(35, 0, 0, 3), "139'0'0'3", "35'0'0'3")),
        (b"ORD=POI/tex=\"/kei=139'0'0'4/ido=35'0'0'4\r\n",
         u(angle(139, 0, 0, 4), angle(35, 0, 0, 4), "139'0'0'4", "35'0'0'4")),
        (b"ORD=POI/tex=\" \"/kei=139'0'0'5/ido=35'0'0'5\r\n",
         u(angle(139, 0, 0, 5), angle(35, 0, 0, 5), "139'0'0'5", "35'0'0'5")),
        (b"ORD=POI/tex=Named/kei=139'0'0'6/ido=35'0'0'6\r\n",
         ("Named", "139'0'0'6", "35'0'0'6", angle(139, 0, 0, 6), angle(35, 0, 0, 6))),
        (b"ORD=POI/tex=\t/kei=139'0'0'7/ido=35'0'0'7\r\n",
         (b"\t", "139'0'0'7", "35'0'0'7", angle(139, 0, 0, 7), angle(35, 0, 0, 7))),
        # Without coordinates even a kept untitled point is skipped.
        (b"ORD=POI/tex=/kei=139'0'0'8\r\n", None),
        (b"ORD=POI\r\n", None),
        (b"ORD=POI/tex=/kei=139'0'0'9/ido=35'0'0'9", u(angle(139, 0, 0, 9), angle(35, 0, 0, 9),
                                                      "139'0'0'9", "35'0'0'9")),
    ]

data, nvi, log = expect(untitled_lines(False))
write_case("untitled_skip", ["--untitled=skip", "--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)
data, nvi, log = expect(untitled_lines(True))
write_case("untitled_keep", ["--untitled=keep", "--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)
# Kept is the default.
write_case("untitled_default", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Line ends: a lone LF ends a line just as CR LF and CR do.
A = ("A", "139'0'0'0", "35'0'0'0", 139, 35)
B = ("B", "135'30'0'0", "34'41'0'0", 135.5, angle(34, 41))
C = ("C", "140'0'0'0", "36'0'0'0", 140, 36)
data, nvi, log = expect([
    (b"ORD=POI/tex=A/kei=139'0'0'0/ido=35'0'0'0\n", A),
    (b"\n", None),
    (b"ORD=POI/tex=B/kei=135'30'0'0/ido=34'41'0'0\n", B),
    (b"ORD=POI/tex=C/kei=140'0'0'0/ido=36'0'0'0\n", C),
])
write_case("lf_only", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

data, nvi, log = expect([
    (b"ORD=POI/tex=A/kei=139'0'0'0/ido=35'0'0'0\r", A),
    (b"\r", None),
    (b"ORD=POI/tex=B/kei=135'30'0'0/ido=34'41'0'0\r", B),
    (b"not a point line\r", None),
    (b"ORD=POI/tex=C/kei=140'0'0'0/ido=36'0'0'0\r", C),
])
write_case("cr_only", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Mixed ends, and a last line without any end.
data, nvi, log = expect([
    (b"ORD=POI/tex=A/kei=139'0'0'0/ido=35'0'0'0\r\n", A),
    (b"ORD=POI/tex=B/kei=135'30'0'0/ido=34'41'0'0\r", B),
    (b"\r\n", None),
    (b"\n", None),
    (b"ORD=POI/tex=C/kei=140'0'0'0/ido=36'0'0'0", C),
])
write_case("mixed_line_ends", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Titles in CP932 go through byte for byte: IBM extensions in both code
# ranges (FA5C, ED40), trail bytes that are "\" or letters, half-width kana,
# and bytes that are no CP932 at all (but see the last line).
K = ("139'46'1'6", "35'40'52'3", angle(139, 46, 1, 6), angle(35, 40, 52, 3))
titles = [
    sj("東京タワー"),
    b"\xfa\x5c\xed\x40",                 # 纊 twice: IBM and NEC-selected codes
    sj("表示～ソ能") + b"\x5c",            # trail bytes 5C, 8160 wave dash, a backslash
    sj("ﾄｳｷｮｳ"),                         # half-width katakana, single bytes
    b"bad\x80\xa0\xfd\xfe\xffbytes",      # never valid in CP932
    b"lead\x81 blank",                   # a lead byte without a trail byte
    sj("永") + b"do=1'0'0'0",             # 89 69 then "do=": no "ido=" key here
    sj("永") + b"DO=2'0'0'0",
]
lines = [(b"ORD=POI/tex=" + t + b"/kei=139'46'1'6/ido=35'40'52'3\r\n", (t,) + K) for t in titles]
lines.append((b"ORD=POI/kei=139'46'1'6/ido=35'40'52'3/tex=end" + b"\x81\r\n",
              (b"end\x81",) + K))
data, nvi, log = expect(lines)
# But a lead byte alone at a title's end: in the block it would take the
# closing brace as its second byte, and the unit would read on past the
# field. It becomes "?" there; the log keeps the title as read.
nvi = nvi.replace(b"TTL= {end\x81};", b"TTL= {end?};")
write_case("cp932_titles", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Nothing in, an empty file out, and an empty log.
write_case("empty_input", ["--log=@LOG@", "@IN@", "@OUT@"], b"", b"", b"")

# Quotes: one at each end goes, the rest stays.
def q(title, expected, n):
    lt, at = "139'%d'0'0" % n, "35'%d'0'0" % n
    return (b"ORD=POI/tex=" + title + b"/kei=" + lt.encode() + b"/ido=" + at.encode() + b"\r\n",
            None if expected is None else (expected, lt, at, angle(139, n), angle(35, n)))
data, nvi, log = expect([
    q(b"\"Tokyo Tower\"", b"Tokyo Tower", 1),
    q(b"\"" + sj("東京駅") + b"\"", sj("東京駅"), 2),
    q(b"\"half", b"half", 3),
    q(b"half\"", b"half", 4),
    q(b"in\"side", b"in\"side", 5),
    q(b"\"\"twice\"\"", b"\"twice\"", 6),
    q(b"\"  spaced  \"", b"  spaced  ", 7),
    q(b" lead and trail ", b" lead and trail ", 8),
    q(b"\"   \"", None, 9),
    q(b"braces} and; semicolons{", b"braces} and; semicolons{", 10),
])
write_case("quoted_titles", ["--untitled=skip", "--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# "ido=" is found wherever it first occurs, also inside the title.
data, nvi, log = expect([
    (b"ORD=POI/tex=Mido=35'0'0'0/kei=139'0'0'0/ido=36'0'0'0\r\n",
     ("Mido=35'0'0'0", "139'0'0'0", "35'0'0'0", 139, 35)),
    (b"ORD=POI/tex=Wells IDO=34'0'0'0/kei=139'0'0'0/ido=36'0'0'0\r\n",
     ("Wells IDO=34'0'0'0", "139'0'0'0", "34'0'0'0", 139, 34)),
    # The title's "ido=" value runs to the next "/": not a coordinate.
    (b"ORD=POI/tex=Kido=33'0'0'0 spot/kei=139'0'0'0/ido=36'0'0'0\r\n", None),
    # No latitude field of its own: the title supplies it.
    (b"ORD=POI/tex=Lido=32'0'0'0/kei=139'0'0'0\r\n",
     ("Lido=32'0'0'0", "139'0'0'0", "32'0'0'0", 139, 32)),
    # "/ido=" before the title is found first.
    (b"ORD=POI/ido=31'0'0'0/tex=Pido=30'0'0'0/kei=139'0'0'0\r\n",
     ("Pido=30'0'0'0", "139'0'0'0", "31'0'0'0", 139, 31)),
    # "kei" without its "/" is not the longitude key.
    (b"ORD=POI/tex=kei=1'0'0'0/ido=30'0'0'0\r\n", None),
])
write_case("ido_in_title", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Keys and the ORD=POI prefix in any letter case; only the prefix counts.
data, nvi, log = expect([
    (b"ord=poi/TEX=Lower/Kei=139'0'0'0/IDO=35'0'0'0\r\n", ("Lower", "139'0'0'0", "35'0'0'0", 139, 35)),
    (b"Ord=Poi/tEx=Mixed/kEI=139'0'0'1/iDo=35'0'0'1\r\n",
     ("Mixed", "139'0'0'1", "35'0'0'1", angle(139, 0, 0, 1), angle(35, 0, 0, 1))),
    (b"ORD=POIX/tex=Prefix/kei=139'0'0'2/ido=35'0'0'2\r\n",
     ("Prefix", "139'0'0'2", "35'0'0'2", angle(139, 0, 0, 2), angle(35, 0, 0, 2))),
    (b" ORD=POI/tex=Indented/kei=139'0'0'3/ido=35'0'0'3\r\n", None),
    (b"ORD=PO\r\n", None),
    (b"ORD=POI\r\n", None),
    (b"ORDPOI/tex=NoEquals/kei=139'0'0'4/ido=35'0'0'4\r\n", None),
    (b"ORD=ROUTE/tex=Other/kei=139'0'0'5/ido=35'0'0'5\r\n", None),
    (b"ORD=POI/tex=First/tex=Second/kei=139'0'0'6/ido=35'0'0'6/kei=1'0'0'0/ido=2'0'0'0\r\n",
     ("First", "139'0'0'6", "35'0'0'6", angle(139, 0, 0, 6), angle(35, 0, 0, 6))),
    (b"ORD=POI/tex=Cut/here/kei=139'0'0'7/ido=35'0'0'7/tel=03-0000-0000\r\n",
     ("Cut", "139'0'0'7", "35'0'0'7", angle(139, 0, 0, 7), angle(35, 0, 0, 7))),
])
write_case("mixed_case_keys", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# Coordinate texts: what the numeral rule refuses skips the line; what it
# accepts, however unusual, is converted.
def c(lon_text, lat_text, angles):
    raw = ("ORD=POI/tex=P/kei=" + lon_text + "/ido=" + lat_text + "\r\n").encode()
    return (raw, None if angles is None else ("P", lon_text, lat_text) + angles)
data, nvi, log = expect([
    c("181'0'0'0", "35'0'0'0", None),
    c("180'0'0'1", "35'0'0'0", None),
    c("139'0'0'0", "-35'40'52'3", None),
    c("139'0'0'0", " 35'40'52'3", None),
    c("139'0'0'0", "35'40'52'3 ", None),
    c("139'0'0'0", "35'40'52", None),
    c("139'0'0'0", "35'40'52.30'0", None),
    c("4O'0'0'0", "35'0'0'0", None),
    c("1,5'0'0'0", "35'0'0'0", None),
    c("1e3'0'0'0", "35'0'0'0", None),
    c("52.'0'0'0", "35'0'0'0", None),
    c(".'0'0'0", "35'0'0'0", None),
    c("+5'0'0'0", "35'0'0'0", None),
    c("0000000000000001234567890123456'0'0'0", "35'0'0'0", None),
    c("180'0'0'0", "0'0'0'0", (180, 0)),
    c("'''", "''''", (0, 0)),
    c("139'46'1'6'9", "035'40'52.3'0", (angle(139, 46, 1, 6), angle(35, 40, 52.3, 0))),
    c(".5'0'0'0", "00.5'''", (0.5, 0.5)),
    c("35'99'99'9", "35'0'0'30", (angle(35, 99, 99, 9), angle(35, 0, 0, 30))),
    c("139'46'1'", "35'40'52'", (angle(139, 46, 1, 0), angle(35, 40, 52, 0))),
])
# 35'99'99'9 is 36.67775 degrees; a fourth part of 30 adds 3 seconds.
assert abs(angle(35, 99, 99, 9) - 36.67775) < 1e-12
write_case("rejected_coordinates", ["--log=@LOG@", "@IN@", "@OUT@"], data, nvi, log)

# A time stamp on the command line must be a real date and time written
# YYYY/MM/DD HH:MM:SS; anything else is a usage error and nothing is written.
ONE = b"ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
TOWER_POS = "$168736AFD305033D"
for name, stamp_arg in [
    ("timestamp_two_digit_year", "10/04/01 9:05:03"),
    ("timestamp_unpadded_date", "2010/4/1 14:30:00"),
    ("timestamp_foreign_forms", "4/1/2010 2:30:00 PM"),
    ("timestamp_dotted", "01.04.2010 14.30.00"),
    ("timestamp_no_leap_day", "2023/02/29 10:00:00"),
]:
    write_case(name, ["--timestamp=" + stamp_arg, "@IN@", "@OUT@"], ONE, exit_code=2)

# UTF-8 input: the byte-order mark is dropped and titles reach the NVI file
# and the log in CP932.
TOKYO_UTF8 = "東京タワー".encode("utf-8")
TOKYO_CP932 = "東京タワー".encode("cp932")
utf8_input = (b"\xef\xbb\xbf" + b"ORD=POI/tex=" + TOKYO_UTF8 +
              b"/kei=139'46'1'6/ido=35'40'52'3\r\n")
write_case("utf8_input", ["--log=@LOG@", "@IN@", "@OUT@"], utf8_input,
           block(TOWER_POS, TOKYO_CP932),
           log_line(1, TOKYO_CP932 + b"\t139'46'1'6\t35'40'52'3\t" + TOWER_POS.encode()))

# Standard input and output.
data, nvi, log = expect(WORKED)
write_case("stdin_stdout", ["--untitled=keep", "-", "-"], data, nvi)
write_case("stdin_default_output", ["--untitled=keep", "-"], data, nvi)
data, nvi, log = expect(WORKED[:2])
write_case("stdin_to_file", ["--log=@LOG@", "-", "@OUT@"], data, nvi, log)
write_case("file_to_stdout", ["@IN@", "-"], ONE, block(TOWER_POS, "Tower"))
write_case("default_output_path", ["@IN@"], ONE, block(TOWER_POS, "Tower"))
# A file name beyond ASCII (UTF-16 on Windows, UTF-8 on Linux), and the
# default output named after it.
write_case("japanese_file_name", ["@IN@"], ONE, block(TOWER_POS, "Tower"), input_name="東京.pot")

# Refusals and failures: exit codes, no output written.
write_case("missing_input", ["no-such-file.pot", "@OUT@"], ONE, exit_code=1)
write_case("same_file", ["@IN@", "@IN@"], ONE, exit_code=3)
# "convert - x.pot < x.pot": standard input is the output file.
write_case("stdin_onto_input", ["-", "@IN@"], ONE, exit_code=3)
write_case("log_is_input", ["--log=@IN@", "@IN@", "@OUT@"], ONE, exit_code=3)
# The log would be the output once written: refused before either exists.
write_case("log_is_output", ["--log=./output.nvi", "@IN@", "@OUT@"], ONE, exit_code=3)
