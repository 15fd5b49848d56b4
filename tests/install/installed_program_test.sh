#!/usr/bin/env bash
# The installed programs, used as a new user would:
#  1. cmake --install BUILD-DIR into a temporary prefix;
#  2. the installed velorin-cli converts the bundled sample;
#  3. the installed `velorin FILE` converts it on a virtual X server with
#     three presses of Return (Convert, Yes, OK), with a private HOME whose
#     ~/.config/velorin/velorin.ini turns the log on. The NVI file must appear
#     beside FILE with the same records as velorin-cli's, the log under
#     $HOME/.local/state/velorin/, and nothing new in the prefix;
#  4. the installed file types: update-mime-database and gio tell the point
#     files apart (a .pot of points from a gettext template) and offer the
#     window for the files it reads;
#  5. cpack -G DEB makes two packages: velorin-cli without Qt or fonts, and
#     velorin, whose Depends name velorin-cli, Qt 6, Qt's translations and
#     the font of the message files; lintian finds no error in either, nor
#     (Release and RelWithDebInfo builds) a program without hardening.
#   installed_program_test.sh BUILD-DIR
# Needs xvfb-run, xwininfo (x11-utils), xdotool, update-mime-database
# (shared-mime-info), update-desktop-database (desktop-file-utils), gio
# (libglib2.0-bin), dpkg-deb and lintian.
set -euo pipefail

if [ "${1:-}" = "--inside" ]; then
  # On the virtual X server: drive the installed window.
  program=$2 input=$3 nvi=$4
  "$program" "$input" >"$WORK/velorin.out" 2>&1 &
  pid=$!
  # Top-level windows titled "Velorin" that are on the screen: the main
  # window, and the message boxes, whose title is "Velorin" too.
  windows() {
    local id
    for id in $(xwininfo -root -tree 2>/dev/null | awk '$2 == "\"Velorin\":" { print $1 }'); do
      xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable" && echo "$id"
    done
    return 0
  }
  wait_for() {  # wait_for DESCRIPTION CONDITION...: up to 20 s
    local what=$1
    shift
    for ((i = 0; i < 200; i++)); do
      "$@" && return 0
      kill -0 "$pid" 2>/dev/null || { echo "FAIL: velorin ended while waiting for $what" >&2; cat "$WORK/velorin.out" >&2; exit 1; }
      sleep 0.1
    done
    echo "FAIL: no $what within 20 s" >&2
    kill "$pid" 2>/dev/null || true
    exit 1
  }
  count_is() { [ "$(windows | wc -l)" -eq "$1" ]; }
  finished() { [ -s "$nvi" ] && count_is 2; }

  wait_for "main window" count_is 1
  xdotool windowfocus --sync "$(windows)"
  sleep 0.5
  xdotool key Return                     # Convert (it has the focus)
  wait_for "start question" count_is 2
  sleep 0.5
  xdotool key Return                     # Yes
  wait_for "finished message" finished
  sleep 0.5
  xdotool key Return                     # OK
  wait_for "idle window" count_is 1
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  exit 0
fi

build=$(cd "${1:?usage: $0 BUILD-DIR}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
export WORK
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
prefix=$WORK/prefix
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== cmake --install into $prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
listing() { (cd "$prefix" && find . -printf '%p %s %m\n' | sort); }
before=$(listing)

echo "== the installed velorin-cli converts the sample"
mkdir -p "$WORK/data"
cp "$source_dir/examples/tokyo.pot" "$WORK/data/tokyo.pot"
"$prefix/bin/velorin-cli" convert "$WORK/data/tokyo.pot" "$WORK/cli.nvi"

echo "== the installed velorin FILE converts it with three Returns"
home=$WORK/home
mkdir -p "$home/.config/velorin"
# The shipped settings with line 4 (the log switch) "1", CR LF kept.
sed '4s/^[^\r]*/1/' "$prefix/share/velorin/velorin.ini" >"$home/.config/velorin/velorin.ini"
settings_before=$(md5sum <"$home/.config/velorin/velorin.ini")
env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$home" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1024x768x24" \
  "$0" --inside "$prefix/bin/velorin" "$WORK/data/tokyo.pot" "$WORK/data/tokyo.nvi"

[ -s "$WORK/data/tokyo.nvi" ] || fail "no NVI file beside the input"
# Same records from both programs; only the time stamps differ.
stamps='/^ [0-9]\{4\}\/[0-9][0-9]\/[0-9][0-9]_[0-9:]*_JST;$/d'
cmp <(sed "$stamps" "$WORK/cli.nvi") <(sed "$stamps" "$WORK/data/tokyo.nvi") ||
  fail "the window and velorin-cli wrote different records"
echo "$(grep -c '^NPOIs100' "$WORK/data/tokyo.nvi") records, the same as velorin-cli's"
log=$home/.local/state/velorin/velorin_log.txt
[ -s "$log" ] || fail "no log at $log"
echo "log: $(wc -l <"$log") lines in $log"
[ "$(md5sum <"$home/.config/velorin/velorin.ini")" = "$settings_before" ] ||
  fail "the user's settings changed"

echo "== every other point format through the window: the same records as velorin-cli's"
mkdir -p "$WORK/formats"
for format in gpx kml csv geojson; do
  "$prefix/bin/velorin-cli" convert "$WORK/data/tokyo.pot" "$WORK/formats/tokyo.$format" 2>/dev/null
done
# A KMZ is the KML zipped as doc.kml.
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], "w").write(sys.argv[2], "doc.kml")' \
  "$WORK/formats/tokyo.kmz" "$WORK/formats/tokyo.kml"
for format in gpx kml kmz csv geojson; do
  input=$WORK/formats/tokyo.$format
  mkdir -p "$WORK/formats/$format"
  cp "$input" "$WORK/formats/$format/"
  "$prefix/bin/velorin-cli" convert "$input" "$WORK/formats/cli-$format.nvi" 2>/dev/null
  env -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME="$home" QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$0" --inside "$prefix/bin/velorin" "$WORK/formats/$format/tokyo.$format" \
    "$WORK/formats/$format/tokyo.nvi"
  cmp <(sed "$stamps" "$WORK/formats/cli-$format.nvi") \
    <(sed "$stamps" "$WORK/formats/$format/tokyo.nvi") ||
    fail "the window and velorin-cli wrote different records for $format"
  echo "$format: $(grep -c '^NPOIs100' "$WORK/formats/$format/tokyo.nvi") records, the same as velorin-cli's"
done
[ "$(listing)" = "$before" ] || { diff <(echo "$before") <(listing) >&2; fail "the prefix changed"; }
echo "nothing new in the prefix"

echo "== file types: what a file manager calls each point file, and what it offers"
# Copies, so that the prefix stays as installed. Two ways a system holds the
# types: "package", one database of the system's packages and Velorin's, as
# the Debian trigger builds it; "prefix", Velorin's own database (a prefix
# such as ~/.local) searched before the system's. And the desktop entries'
# cache, as update-desktop-database builds it.
types=$WORK/types
mkdir -p "$types/package/mime/packages" "$types/prefix/mime/packages" "$types/apps/applications" \
  "$types/samples"
cp /usr/share/mime/packages/*.xml "$prefix"/share/mime/packages/*.xml "$types/package/mime/packages/"
cp "$prefix"/share/mime/packages/*.xml "$types/prefix/mime/packages/"
for database in package prefix; do update-mime-database "$types/$database/mime" 2>/dev/null; done
cp "$prefix"/share/applications/*.desktop "$types/apps/applications/"
update-desktop-database "$types/apps/applications"
declare -A data_dirs_of=([package]=$types/package [prefix]=$types/prefix:/usr/share)
in_session() {  # in_session DATABASE COMMAND...
  local dirs=${data_dirs_of[$1]}
  shift
  PATH=$prefix/bin:$PATH XDG_DATA_DIRS=$types/apps:$dirs XDG_DATA_HOME=$WORK/none "$@"
}
type_of() { in_session "$1" gio info -a standard::content-type "$2" | sed -n 's/^ *standard::content-type: //p'; }
samples=$types/samples
cp "$WORK/data/tokyo.pot" "$samples/comments-first.pot"
printf 'ORD=POI/tex=A/kei=139'"'"'44'"'"'43'"'"'6/ido=35'"'"'39'"'"'30'"'"'9\r\n' >"$samples/point-first.pot"
printf '\xef\xbb\xbford=poi/tex=A\n' >"$samples/utf8-bom.POT"
printf '#, fuzzy\nmsgid ""\nmsgstr ""\n"Project-Id-Version: x\\n"\n' >"$samples/messages.pot"
printf 'msgid "Open"\nmsgstr ""\n' >"$samples/bare-template.pot"
cp "$WORK/cli.nvi" "$samples/tokyo.nvi"
cp "$WORK/cli.nvi" "$samples/no-extension"
printf 'not a block\n' >"$samples/other.nvi"
for format in gpx kml kmz csv geojson; do cp "$WORK/formats/tokyo.$format" "$samples/"; done
while read -r sample expected; do
  for database in package prefix; do
    got=$(type_of "$database" "$samples/$sample")
    [ "$got" = "$expected" ] || fail "$sample is $got, not $expected ($database database)"
  done
  echo "$sample: $got"
done <<'TABLE'
comments-first.pot text/x-poi-pot
point-first.pot text/x-poi-pot
utf8-bom.POT text/x-poi-pot
messages.pot text/x-gettext-translation-template
bare-template.pot text/x-gettext-translation-template
tokyo.nvi text/x-poi-nvi
no-extension text/x-poi-nvi
other.nvi text/x-poi-nvi
tokyo.gpx application/gpx+xml
tokyo.kml application/vnd.google-earth.kml+xml
tokyo.kmz application/vnd.google-earth.kmz
tokyo.csv text/csv
tokyo.geojson application/geo+json
TABLE
# Every type of the desktop entry is one the database knows, and the window
# is among the programs offered for it ("Open with Velorin").
entry=$prefix/share/applications/velorin.desktop
for mime in $(sed -n 's/^MimeType=//p' "$entry" | tr ';' ' '); do
  [ -e "$types/package/mime/$mime.xml" ] ||
    fail "the desktop entry names $mime, which no MIME package defines"
  grep -q "velorin.desktop" <<<"$(in_session package gio mime "$mime")" ||
    fail "Velorin is not offered for $mime"
done
echo "Velorin offered for: $(sed -n 's/^MimeType=//p' "$entry")"

echo "== cpack -G DEB: velorin-cli and velorin"
(cd "$build" && cpack -G DEB -B "$WORK/package" >/dev/null)
version=$("$prefix/bin/velorin-cli" --version | awk '{print $2}')
cli_deb=$WORK/package/velorin-cli_${version}_amd64.deb
window_deb=$WORK/package/velorin_${version}_amd64.deb
[ -f "$cli_deb" ] && [ -f "$window_deb" ] || { ls "$WORK/package" >&2; fail "not the two packages"; }
# check_package DEB WANTED-DEPENDS UNWANTED-DEPENDS FILES: Depends and contents.
check_package() {
  local deb=$1 wanted=$2 unwanted=$3 files=$4 name depends contents latest
  name=$(dpkg-deb -f "$deb" Package)
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "$name Depends: $depends"
  for needed in $wanted; do
    [[ $depends == *"$needed"* ]] || fail "$name: Depends lacks $needed"
  done
  for unneeded in $unwanted; do
    [[ $depends != *"$unneeded"* ]] || fail "$name: Depends names $unneeded"
  done
  contents=$(dpkg-deb -c "$deb")
  for file in $files ./usr/share/doc/$name/copyright ./usr/share/doc/$name/changelog.gz; do
    grep -q " $file\$" <<<"$contents" || fail "$name lacks $file"
  done
  # The changelog's latest entry is this version.
  latest=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO "./usr/share/doc/$name/changelog.gz" |
    gzip -dc | sed -n 1p)
  [[ $latest == "$name ($version) "* ]] || fail "$name: the changelog begins \"$latest\", not $version"
}
check_package "$cli_deb" "libexpat1 zlib1g libproj" "libarchive libqt6 qt6- fonts-" \
  "./usr/bin/velorin-cli ./usr/share/man/man1/velorin-cli.1.gz
   ./usr/share/bash-completion/completions/velorin-cli ./usr/share/velorin/land-10m.bin"
check_package "$window_deb" \
  "velorin-cli (= $version) libqt6widgets6 libqt6gui6 libqt6core6 qt6-translations-l10n fonts-ipafont-gothic" "" \
  "./usr/bin/velorin ./usr/share/velorin/velorin_j.msg ./usr/share/man/man1/velorin.1.gz
   ./usr/share/applications/velorin.desktop
   ./usr/share/metainfo/velorin.metainfo.xml
   ./usr/share/mime/packages/velorin.xml"
# The window's files are the window's package's alone; the land of the map
# is velorin-cli's, which the window's package depends on.
! grep -v "/usr/share/velorin/land-10m.bin$" <<<"$(dpkg-deb -c "$cli_deb")" |
  grep -q "/usr/bin/velorin$\|/usr/share/velorin/." ||
  fail "velorin-cli holds files of the window"

echo "== lintian: no error"
command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps test)"
# Exit status 0 with errors overridden; warnings are shown, not counted.
lintian_status=0
lintian_out=$(lintian --display-info --fail-on error "$cli_deb" "$window_deb" 2>&1) || lintian_status=$?
grep -v "^running with root" <<<"$lintian_out" || true
[ "$lintian_status" -eq 0 ] && ! grep -q "^E:" <<<"$lintian_out" || fail "lintian reports errors"
# Optimised builds harden the programs as Debian's packages are hardened.
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:[A-Z]*=//p' "$build/CMakeCache.txt")
if [ "$build_type" = Release ] || [ "$build_type" = RelWithDebInfo ]; then
  # hardening-no-fortify-functions is an informational tag that lintian
  # gives when it finds no fortified call, as in a program whose fortified
  # calls all sit in the libraries it links: not a missing flag.
  ! grep " hardening-" <<<"$lintian_out" | grep -qv "hardening-no-fortify-functions" ||
    fail "lintian finds programs without hardening"
fi
echo "installed program test passed"
