#!/usr/bin/env bash
# Starts the real desktop program on a virtual X server, waits until its main
# window "Velorin" is on the screen, asks it to close the way a window
# manager's close button does, and checks that the program ends with code 0.
#   xvfb_start_test.sh VELORIN-PROGRAM CLOSE-HELPER
# The program finds its settings and message files in its own folder.
# Needs xvfb-run (xvfb, xauth) and xwininfo (x11-utils).
set -euo pipefail

if [ "${1:-}" != "--inside" ]; then
  [ $# -eq 2 ] || { echo "usage: $0 VELORIN-PROGRAM CLOSE-HELPER" >&2; exit 2; }
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside "$1" "$2"
fi
program=$2
closer=$3
title=Velorin
wait_tenths=150  # 15 s for the window, 15 s for the exit

log=$(mktemp)
trap 'rm -f "$log"' EXIT
QT_QPA_PLATFORM=xcb "$program" >"$log" 2>&1 &
pid=$!

fail() {
  echo "FAIL: $*" >&2
  echo "--- program output:" >&2
  cat "$log" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
}

# The id of a top-level window with exactly this title that is viewable.
viewable_window() {
  local id
  for id in $(xwininfo -root -tree 2>/dev/null |
              awk -v t="\"$title\":" '$2 == t { print $1 }'); do
    if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

window=""
for ((i = 0; i < wait_tenths; i++)); do
  kill -0 "$pid" 2>/dev/null || fail "the program ended before showing its window"
  window=$(viewable_window) && break
  sleep 0.1
done
[ -n "$window" ] || fail "no window titled \"$title\" appeared within 15 s"
echo "window $window is mapped"

"$closer" "$window" || fail "could not send the close request"

for ((i = 0; i < wait_tenths; i++)); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
  fail "the program did not end within 15 s of the close request"
fi
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with code $status"
echo "closed with code 0"
