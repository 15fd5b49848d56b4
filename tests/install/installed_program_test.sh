#!/usr/bin/env bash
# The installed programs, used as a new user would:
#  1. cmake --install BUILD-DIR into a temporary prefix;
#  2. the installed velorin-cli converts the bundled sample;
#  3. the installed `velorin FILE` converts it on a virtual X server with
#     three presses of Return (Convert, Yes, OK), with a private HOME whose
#     ~/.config/velorin/velorin.ini turns the log on. The NVI file must appear
#     beside FILE with the same records as velorin-cli's, the log under
#     $HOME/.local/state/velorin/, and nothing new in the prefix;
#  4. cpack -G DEB makes a package whose Depends name Qt 6, Qt's translations
#     and the font of the message files.
#   installed_program_test.sh BUILD-DIR
# Needs xvfb-run, xwininfo (x11-utils), xdotool and dpkg-deb.
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
for format in gpx kml csv; do
  "$prefix/bin/velorin-cli" convert "$WORK/data/tokyo.pot" "$WORK/formats/tokyo.$format" 2>/dev/null
done
# A KMZ is the KML zipped as doc.kml.
python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1], "w").write(sys.argv[2], "doc.kml")' \
  "$WORK/formats/tokyo.kmz" "$WORK/formats/tokyo.kml"
for format in gpx kml kmz csv; do
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

echo "== cpack -G DEB"
(cd "$build" && cpack -G DEB -B "$WORK/package" >/dev/null)
deb=$(ls "$WORK"/package/velorin_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for needed in libqt6widgets6 libqt6gui6 libqt6core6 qt6-translations-l10n fonts-ipafont-gothic; do
  [[ $depends == *"$needed"* ]] || fail "Depends lacks $needed"
done
contents=$(dpkg-deb -c "$deb")
for file in ./usr/bin/velorin ./usr/bin/velorin-cli ./usr/share/velorin/velorin_j.msg \
  ./usr/share/applications/io.github.velorin.Velorin.desktop ./usr/share/man/man1/velorin.1.gz; do
  grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
echo "installed program test passed"
