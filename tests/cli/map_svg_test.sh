#!/usr/bin/env bash
# velorin-cli map writes SVG that xmllint accepts and rsvg-convert draws:
# points with titles to escape, one point, none, clusters, every label.
#   map_svg_test.sh VELORIN-CLI
set -euo pipefail
cli=$1
for tool in xmllint rsvg-convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

gpx() {
  echo '<?xml version="1.0" encoding="UTF-8"?>'
  echo '<gpx version="1.1" xmlns="http://www.topografix.com/GPX/1/1">'
  cat
  echo '</gpx>'
}
gpx >"$work/named.gpx" <<'POINTS'
<wpt lat="35.681236" lon="139.767125"><name>東京駅 &amp; &lt;丸の内&gt; "north"</name></wpt>
<wpt lat="34.7024" lon="135.4959"><name>O'Saka</name></wpt>
POINTS
gpx >"$work/one.gpx" <<<'<wpt lat="43.06" lon="141.35"><name>札幌</name></wpt>'
gpx >"$work/none.gpx" </dev/null
python3 - "$work/dense.csv" <<'PY'
import sys
with open(sys.argv[1], "w") as f:
    f.write("name,latitude,longitude\n")
    for i in range(5000):
        f.write(f"p{i},{30 + (i // 100) * 0.2:.4f},{130 + (i % 100) * 0.15:.4f}\n")
PY

failures=0
check() {
  local name=$1
  shift
  if ! "$cli" map "$@" "$work/$name.svg" 2>"$work/$name.err"; then
    echo "FAIL: velorin-cli map $* failed: $(cat "$work/$name.err")"
    failures=$((failures + 1))
    return
  fi
  xmllint --noout "$work/$name.svg" || { echo "FAIL: $name.svg is not well-formed"; failures=$((failures + 1)); }
  rsvg-convert "$work/$name.svg" -o "$work/$name.png" &&
    [ -s "$work/$name.png" ] || { echo "FAIL: $name.svg does not render"; failures=$((failures + 1)); }
}
check named "$work/named.gpx"
check named-all --labels "$work/named.gpx"
check one --size=320x240 "$work/one.gpx"
check none "$work/none.gpx"
check dense "$work/dense.csv"
check dense-none --no-labels "$work/dense.csv"

grep -q "No points to show" "$work/none.svg" || { echo "FAIL: the empty map does not say so"; failures=$((failures + 1)); }
grep -q "東京駅 &amp; &lt;丸の内&gt;" "$work/named.svg" || { echo "FAIL: a title is not escaped"; failures=$((failures + 1)); }
# Standard output as well.
"$cli" map "$work/one.gpx" - 2>/dev/null | xmllint --noout - || { echo "FAIL: standard output"; failures=$((failures + 1)); }

[[ $failures -eq 0 ]] && echo "every map is valid SVG and renders"
