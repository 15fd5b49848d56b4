#!/usr/bin/env python3
"""Writes platform/cp932_closest_table.inc: for every character that CP932
does not hold, the closest text that it does hold; and the pairs of a base
character and a combining mark that CP932 holds as one character.

    python3 scripts/make_cp932_closest.py > platform/cp932_closest_table.inc

Which characters CP932 holds, and their bytes, come from glibc's own CP932
converter (called through ctypes, no locale involved); the closest forms come
from python3's unicodedata, in this order:

 1. a short hand list (letters and punctuation that decomposition misses);
 2. what glibc's converter writes for a character that does not come back as
    itself (U+301C WAVE DASH as 81 60): repeated so that a converter with
    only Microsoft's round-trip table gives the same bytes;
 3. a character CP932 holds under another, canonically equal code point
    (U+00C5 as the angstrom sign 81 F0, CJK compatibility ideographs);
 4. the wide or narrow form CP932 holds (U+00A6 as FULLWIDTH BROKEN BAR);
 5. a combining mark on its own: dropped (the encoder counts the character
    it was on as changed); an invisible character (U+200B): dropped;
 6. a Latin letter with a stroke or hook: its base letter (from its name);
 7. the compatibility decomposition without its combining marks, each
    character of it written by the steps above ("Shingu" for "Shingū"),
    unless a mark negates it (U+2249 NOT ALMOST EQUAL TO stays "?").

Everything else is left out: the encoder writes "?". Since whole POT lines
are converted before they are parsed, no substitute contains "/", "=",
double or single quotes or control characters: their full-width forms are
used instead.
"""
import ctypes
import ctypes.util
import re
import sys
import unicodedata

# --- glibc's CP932 converter ------------------------------------------------

_libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
_libc.iconv_open.restype = ctypes.c_void_p
_libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
_libc.iconv.restype = ctypes.c_size_t
_libc.iconv.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t), ctypes.POINTER(ctypes.c_char_p),
                        ctypes.POINTER(ctypes.c_size_t)]
_FAILED = ctypes.c_size_t(-1).value


class Converter:
    def __init__(self, to, from_):
        self.cd = _libc.iconv_open(to, from_)
        if self.cd == _FAILED or self.cd is None:
            sys.exit("glibc has no converter from %s to %s" % (from_, to))

    def __call__(self, data):
        """The converted bytes, or None when glibc refuses any of `data`."""
        _libc.iconv(self.cd, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(4 * len(data) + 16)
        inp = ctypes.c_char_p(ctypes.addressof(inbuf))
        inleft = ctypes.c_size_t(len(data))
        outp = ctypes.c_char_p(ctypes.addressof(outbuf))
        outleft = ctypes.c_size_t(len(outbuf))
        result = _libc.iconv(self.cd, ctypes.byref(inp), ctypes.byref(inleft),
                             ctypes.byref(outp), ctypes.byref(outleft))
        if result == _FAILED or inleft.value:
            return None
        return outbuf.raw[:len(outbuf) - outleft.value]


_to_cp932 = Converter(b"CP932", b"UTF-8")
_from_cp932 = Converter(b"UTF-8", b"CP932")


def held(text):
    """CP932 bytes of `text`, or None when CP932 lacks one of its characters."""
    return _to_cp932(text.encode("utf-8"))


def round_trips(ch):
    data = held(ch)
    return data is not None and _from_cp932(data) == ch.encode("utf-8")


# --- the rules ------------------------------------------------------------

HAND = {
    "\u00DF": "ss", "\u1E9E": "SS",                # sharp s
    "\u00C6": "AE", "\u00E6": "ae", "\u0152": "OE", "\u0153": "oe",
    "\u00D0": "D", "\u00F0": "d",                  # eth
    "\u00DE": "TH", "\u00FE": "th",                # thorn
    "\u014A": "N", "\u014B": "n",                  # eng
    "\u0131": "i", "\u0237": "j",                  # dotless i and j
    "\u0192": "f",                                 # f with hook (florin)
    "\u02BC": "\u2019", "\u02BB": "\u2018",        # modifier apostrophe, okina
    "\u201A": "\u2018", "\u201B": "\u2018",        # low and reversed single quotes
    "\u201E": "\u201C", "\u201F": "\u201C",        # low and reversed double quotes
    "\u00AB": "\u201C", "\u00BB": "\u201D",        # guillemets
    "\u2039": "\u2018", "\u203A": "\u2019",
    "\u2011": "-", "\u2012": "-", "\u2013": "-", "\u2043": "-",  # hyphens and dashes
    "\u2022": "\u30FB", "\u2023": "\u30FB", "\u00B7": "\u30FB",  # bullets, middle dots
    "\u2219": "\u30FB", "\u22C5": "\u30FB", "\u0387": "\u30FB",
    "\u2044": "\uFF0F", "\u2215": "\uFF0F",        # fraction and division slashes
    "\u2248": "\u2252",                            # almost equal: the Japanese sign
    "\u2264": "\u2266", "\u2265": "\u2267",        # less/greater or equal
    "\u00AF": "\uFFE3", "\u02DC": "~", "\u02C6": "^",  # spacing macron, tilde, circumflex
    "\u22EF": "\u2026", "\u2027": "\u30FB",        # midline ellipsis, hyphenation point
    "\u00A9": "(C)", "\u00AE": "(R)", "\u20AC": "EUR",
    "\u2028": " ", "\u2029": " ",                  # line and paragraph separators
    "\u03C2": "\u03C3",                            # final sigma
    "\u3099": "\u309B", "\u309A": "\u309C",        # combining (semi-)voiced marks
    "\U00020BB7": "\u5409",                        # the "tsuchi-yoshi" variant of 吉
}

# Invisible characters: dropped, and no change to a reader. (Variation
# selectors are not among them: they are combining marks that choose a glyph.)
IGNORABLE = set(
    [0x00AD, 0x034F, 0x061C, 0x115F, 0x1160, 0x17B4, 0x17B5, 0x180E, 0x3164, 0xFEFF, 0xFFA0]
    + list(range(0x180B, 0x1810)) + list(range(0x200B, 0x2010))
    + list(range(0x202A, 0x202F)) + list(range(0x2060, 0x2070)))

# POT syntax must not appear from nowhere: full-width forms instead.
SAFE = {"/": "\uFF0F", "=": "\uFF1D", '"': "\uFF02", "'": "\uFF07"}

# The overlay that negates a sign: without it, "not in" would become "in".
NEGATION = "\u0338"

LATIN_WITH = re.compile(r"^LATIN (CAPITAL|SMALL) LETTER ([A-Z]) WITH ")
MAX_BYTES = 16


def is_mark(ch):
    return unicodedata.category(ch) in ("Mn", "Me")


def safe_bytes(text):
    """CP932 bytes of `text` with its syntax characters made full-width, or None."""
    if any(ord(c) < 0x20 or 0x7F <= ord(c) < 0xA0 for c in text):
        return None
    return held("".join(SAFE.get(c, c) for c in text))


def build():
    held_singles = {}   # code point -> bytes, for characters that come back as themselves
    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        ch = chr(cp)
        if round_trips(ch):
            held_singles[ch] = held(ch)

    canonical = {}      # NFD text -> held character
    compat_single = {}  # NFKD character -> held character (wide and narrow forms)
    for ch in held_singles:
        canonical.setdefault(unicodedata.normalize("NFD", ch), ch)
        k = unicodedata.normalize("NFKD", ch)
        if len(k) == 1 and k != ch:
            compat_single.setdefault(k, ch)

    table = {}          # code point -> (bytes, unchanged to a reader)

    def closest(ch, depth=0):
        """(bytes, unchanged to a reader) for one character CP932 does not hold, or None."""
        if ch in held_singles:
            return held_singles[ch], True
        if ord(ch) in table:
            return table[ord(ch)]
        if ch in HAND:
            data = safe_bytes(HAND[ch])
            if data is None:
                sys.exit("hand entry U+%04X is not CP932" % ord(ch))
            return data, False
        data = held(ch)
        if data is not None:
            return data, True           # glibc's own one-way mapping
        if ord(ch) in IGNORABLE:
            return b"", True            # invisible: nobody sees it go
        nfd = unicodedata.normalize("NFD", ch)
        if nfd in canonical:
            return held_singles[canonical[nfd]], True
        if ch in compat_single:
            return held_singles[compat_single[ch]], False
        if is_mark(ch):
            return b"", False
        name = unicodedata.name(ch, "")
        m = LATIN_WITH.match(name)
        if m:
            letter = m.group(2) if m.group(1) == "CAPITAL" else m.group(2).lower()
            return letter.encode("ascii"), False
        nfkd = unicodedata.normalize("NFKD", ch)
        if nfkd == ch or depth > 0 or NEGATION in nfkd:
            return None
        parts = []
        for c in nfkd:
            if is_mark(c) and c not in HAND:
                continue
            part = closest(SAFE.get(c, c), depth + 1)
            if part is None:
                return None
            parts.append(part[0])
        data = b"".join(parts)
        if not data.strip(b" ") and unicodedata.category(ch) != "Zs":
            return None                 # a spacing accent would become a blank
        if any(b < 0x20 or b == 0x7F for b in data) or len(data) > MAX_BYTES:
            return None
        return data, False

    for cp in range(0x110000):
        if 0xD800 <= cp < 0xE000:
            continue
        ch = chr(cp)
        if ch in held_singles:
            continue
        found = closest(ch)
        if found is not None:
            table[cp] = found

    # A base character and a combining mark that CP932 holds as one character
    # (decomposed text, as some systems write it).
    compositions = {}
    for ch, data in list(held_singles.items()) + [(chr(cp), v[0]) for cp, v in table.items() if v[1]]:
        nfd = unicodedata.normalize("NFD", ch)
        if len(nfd) == 2 and nfd[0] in held_singles and nfd[0] not in SAFE and is_mark(nfd[1]):
            compositions.setdefault((ord(nfd[0]), ord(nfd[1])), (held_singles[nfd[0]], data))
    return table, compositions


# --- output ---------------------------------------------------------------

def escaped(data):
    return '"' + "".join("\\x%02X" % b for b in data) + '"'


def name_of(cp):
    return unicodedata.name(chr(cp), "U+%04X" % cp)


def write(table, compositions, out):
    pool = bytearray()
    offsets = {}

    def place(data):
        if data not in offsets:
            found = pool.find(data) if data else 0
            if found < 0:
                found = len(pool)
                pool.extend(data)
            offsets[data] = found
        return offsets[data]

    for cp in sorted(table):
        place(table[cp][0])
    for key in sorted(compositions):
        place(compositions[key][0])
        place(compositions[key][1])
    for cp, (data, _) in table.items():
        text = _from_cp932(data).decode("utf-8")
        if any(c in SAFE or ord(c) < 0x20 or ord(c) == 0x7F for c in text):
            sys.exit("U+%04X would write POT syntax or a control character" % cp)
    if len(pool) >= 1 << 16:
        sys.exit("byte pool too large for 16-bit offsets")

    w = out.write
    w("// Generated by scripts/make_cp932_closest.py from Unicode %s and glibc's CP932\n"
      "// converter; do not edit. Regenerate with\n"
      "//   python3 scripts/make_cp932_closest.py > platform/cp932_closest_table.inc\n\n"
      % unicodedata.unidata_version)
    w("// Every substitute's bytes, end to end.\n")
    w("constexpr char kClosestBytes[] =\n")
    for i in range(0, len(pool), 24):
        w("    %s\n" % escaped(pool[i:i + 24]))
    w("    \"\";\n\n")
    w("// Sorted by code point: {code point, offset, size, flags}.\n")
    w("constexpr ClosestEntry kClosestEntries[] = {\n")
    for cp in sorted(table):
        data, unchanged = table[cp]
        flags = [] if unchanged else ["kChanges"]
        if is_mark(chr(cp)):
            flags.append("kCombining")
        w("    {0x%04X, %d, %d, %s},  // %s\n"
          % (cp, place(data), len(data), " | ".join(flags) or "0", name_of(cp)))
    w("};\n\n")
    w("// Sorted by base, then mark: {base, mark, base offset, base size, offset, size}.\n")
    w("constexpr CompositionEntry kCompositions[] = {\n")
    for base, mark in sorted(compositions):
        base_data, data = compositions[(base, mark)]
        w("    {0x%04X, 0x%04X, %d, %d, %d, %d},  // %s + %s\n"
          % (base, mark, place(base_data), len(base_data), place(data), len(data),
             name_of(base), name_of(mark)))
    w("};\n")


if __name__ == "__main__":
    table, compositions = build()
    write(table, compositions, sys.stdout)
