#!/usr/bin/env bash
# The map editor of the installed velorin.exe, used as a Japanese Windows
# user would, by key presses on its windows (xdotool), with Wine in the
# Japanese locale (code page 932) and Japanese chosen in
# %APPDATA%\Velorin\velorin.ini:
#  1. velorin.exe --map 東京\散歩.gpx (editor_walk/walk.gpx: six points,
#     新宿駅 put 18 degrees north, in Siberia, 東京スカイツリー mistyped);
#  2. Ctrl+F 新宿, Return, Delete: the wrong point goes;
#  3. Ctrl+F スカイ, Return, F2, 東京スカイツリー, Return: the title mended;
#  4. Ctrl+Shift+S, the output path (東京\スカイツリー.nvi) typed whole into
#     the save dialog, Return: saved with no box, the report below the map;
#  5. Escape closes the map window, Alt+F4 the main window.
# The NVI saved holds the bytes of editor_walk/expected.nvi (the edited
# file, editor_walk/walk_edited.gpx, converted) with the time the save wrote
# in its records, and those of Linux velorin-cli for the edited file at that
# time when it is given.
#   windows_editor_walk.sh INSTALLED-FOLDER APPDATA-VELORIN [LINUX-VELORIN-CLI]
# Runs in the installer test's Wine prefix (WINEPREFIX, DISPLAY, a wine
# server running), after the installed velorin.exe has made its settings.
# Needs xdotool, xmodmap, iconv, and the locales' sources (localedef) when
# the system has no ja_JP.UTF-8.
set -euo pipefail
cd "$(dirname "$0")"
# xdotool reads what it types, and bash splits it, in the locale's encoding.
export LC_ALL=C.UTF-8

installed=$1
roaming=$2
linux_cli=${3:-}
[ -z "$linux_cli" ] || linux_cli=$(cd "$OLDPWD" && realpath "$linux_cli")
work=$(mktemp -d)
app=""
holder=""
lent_keys=()
cleanup() {
  if [ -n "$app" ] && kill -0 "$app" 2>/dev/null; then
    wine taskkill /f /im velorin.exe >/dev/null 2>&1 || true
  fi
  for key in "${lent_keys[@]}"; do xmodmap -e "keycode $key =" 2>/dev/null || true; done
  [ -z "$holder" ] || kill "$holder" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The names of the windows shown, for a failure's message.
shown_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '  "%s"\n' "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
}
fail() {
  echo "windows_editor_walk: $*" >&2
  echo "windows shown:" >&2
  shown_windows >&2
  exit 1
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
has_window() { [ -n "$(window_named "$1")" ]; }
no_window() { [ -z "$(window_named "$1")" ]; }
# wait_until WHAT SECONDS COMMAND...: COMMAND asked every tenth of a second
# until it holds; after SECONDS the walk fails, saying WHAT it waited for.
wait_until() {
  local what=$1 tenths=$(($2 * 10))
  shift 2
  until "$@"; do
    ((tenths-- > 0)) || fail "$what"
    sleep 0.1
  done
}
for tool in xdotool xmodmap iconv localedef; do
  command -v "$tool" >/dev/null || fail "no $tool: scripts/install-deps windows"
done
# The titles of an NVI file, one a line, as UTF-8.
titles() { LC_ALL=C sed -n 's/^ TTL= {\(.*\)};$/\1/p' "$1" | iconv -f CP932 -t UTF-8; }

# Wine takes its code page from the C library's locale of each process: a
# locale the system lacks leaves it at 1252. ja_JP.UTF-8 is made here
# when the system has none. Each Wine process writes its code pages to the
# registry as it starts: reg reads there what it runs with.
if locale -a 2>/dev/null | grep -qix 'ja_JP.utf-\?8'; then
  japanese=(env LC_ALL=ja_JP.UTF-8)
else
  mkdir "$work/locale"
  localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" 2>/dev/null ||
    [ -f "$work/locale/ja_JP.UTF-8/LC_CTYPE" ] || fail "localedef could not make ja_JP.UTF-8"
  japanese=(env LOCPATH="$work/locale" LC_ALL=ja_JP.UTF-8)
fi
code_page=$("${japanese[@]}" wine reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' \
  /v ACP 2>/dev/null | tr -d '\r' | awk '$1 == "ACP" { print $3 }')
[ "$code_page" = 932 ] || fail "Wine's code page in ja_JP.UTF-8 is '$code_page', not 932"

# Japanese: the first line of the user's settings, 0.
LC_ALL=C sed -i '1s/^[0-9]*/0/' "$roaming/velorin.ini"
folder=$work/東京
mkdir -p "$folder"
cp editor_walk/walk.gpx "$folder/散歩.gpx"
output=$folder/スカイツリー.nvi

# xdotool types a character that no key of the keyboard's map gives by
# lending a spare key for it and taking it back at once; Wine, reading the
# map after the change, often finds the key taken back and drops the
# character (several in ten). So the Japanese characters typed here are
# given keys before velorin.exe starts, two to a key (the second with
# Shift), on the lowest keys without any: Wine gives keys with characters
# unknown to it Windows key codes from a short list, in the keys' order,
# and the list runs out before the highest ones. The X server resets the
# map when its last client goes: one stays for the walk. Keys lent by a
# walk that was killed are free again.
xdotool sleep 300 &
holder=$!
for key in $(xmodmap -pke | awk 'NF > 3 && $4 ~ /^U[0-9A-F]+$/ { print $2 }'); do
  xmodmap -e "keycode $key ="
done
japanese_typed=新宿スカイ東京ツリー
mapfile -t characters < <(grep -o . <<<"$japanese_typed" | sort -u)
mapfile -t free_keys < <(xmodmap -pke | awk 'NF == 3 { print $2 }')
((${#free_keys[@]} > (${#characters[@]} + 1) / 2)) || fail "too few free keys: ${free_keys[*]}"
for ((i = 0; i < ${#characters[@]}; i += 2)); do
  key=${free_keys[i / 2]}
  symbols=$(printf 'U%04X' "'${characters[i]}")
  [ -z "${characters[i + 1]:-}" ] || symbols+=$(printf ' U%04X' "'${characters[i + 1]}")
  xmodmap -e "keycode $key = $symbols"
  lent_keys+=("$key")
done

echo "  velorin.exe --map 東京\\散歩.gpx in Wine's Japanese locale"
(cd "$folder" && exec "${japanese[@]}" wine "$installed/velorin.exe" --map \
  "$(winepath -w "$folder/散歩.gpx")" >/dev/null 2>&1) &
app=$!
map_name='^Velorin - 地図 - 散歩\.gpx'
wait_until "no map window after 30 s" 30 has_window "$map_name\$"
timeout 5 xdotool windowfocus --sync "$(window_named "$map_name\$")" || fail "the map window takes no focus"

# The points are read after the window shows: until they are, the keys do
# nothing, and the edit's mark in the title bar does not come. Once it has
# come, the choice that was deleted is nowhere to be found again.
echo "  Ctrl+F 新宿, Return, Delete"
for ((attempt = 1; ; attempt++)); do
  xdotool key ctrl+f
  xdotool type '新宿'
  xdotool key Return Delete
  tenths=20
  while no_window "$map_name \\*\$" && ((tenths-- > 0)); do sleep 0.1; done
  has_window "$map_name \\*\$" && break
  ((attempt < 10)) || fail "Delete left no mark of an edit in the title bar"
done
((attempt == 1)) || echo "  (the points were read before attempt $attempt)"

echo "  Ctrl+F スカイ, Return, F2, 東京スカイツリー, Return"
xdotool key ctrl+f
xdotool type 'スカイ'
xdotool key Return F2
xdotool type '東京スカイツリー'
xdotool key Return

echo "  Ctrl+Shift+S, 東京\\スカイツリー.nvi, Return"
xdotool key ctrl+shift+s
dialog_name='^名前を付けて保存$'
wait_until "no save dialog after 10 s" 10 has_window "$dialog_name"
# The name offered (散歩.nvi) is selected in the box, which has the focus:
# the path typed replaces it.
timeout 5 xdotool windowfocus --sync "$(window_named "$dialog_name")" ||
  fail "the save dialog takes no focus"
xdotool type "$(winepath -w "$output")"
xdotool key Return
saved() { [ -s "$output" ] && no_window "$dialog_name" && has_window "$map_name\$"; }
for ((tenths = 100; ; tenths--)); do
  saved && break
  ((tenths > 0)) || fail "no $output saved, without a box, after 10 s; in its folder:" \
    "$(find "$folder" -mindepth 1 -printf '%f ')"
  sleep 0.1
done

echo "  Escape, Alt+F4"
xdotool key Escape
wait_until "the map window still shown 10 s after Escape" 10 no_window "$map_name"
# No window manager gives the main window the keyboard when the map goes.
main=$(window_named '^Velorin$')
[ -n "$main" ] || fail "no main window"
timeout 5 xdotool windowfocus --sync "$main" || fail "the main window takes no focus"
xdotool key alt+F4
ended() { ! kill -0 "$app" 2>/dev/null; }
wait_until "velorin.exe still running 10 s after Alt+F4" 10 ended
app=""

# Each record carries the time it was written: all of one second, unless
# the second turned during the save.
stamps=$(LC_ALL=C grep -ao '^ [0-9]\{4\}/[0-9][0-9]/[0-9][0-9]_[0-9][0-9]:[0-9][0-9]:[0-9][0-9]_JST;$' \
  "$output" | sort -u | cut -c2-20)
stamp=$(head -1 <<<"$stamps")
[ -n "$stamp" ] || fail "no time in $output: $(head -c 200 "$output" | cat -v)"
saved_nvi=$work/saved.nvi
if [ "$(wc -l <<<"$stamps")" -eq 1 ]; then
  cp "$output" "$saved_nvi"
else
  echo "  (the save's second turned: the records' times compared as $stamp)"
  LC_ALL=C sed "s#^ [0-9/]\{10\}_[0-9:]\{8\}_JST;\$# ${stamp}_JST;#" "$output" >"$saved_nvi"
fi
LC_ALL=C sed "s#^ 2010/04/01_14:30:00_JST;\$# ${stamp}_JST;#" editor_walk/expected.nvi \
  >"$work/expected.nvi"
cmp "$saved_nvi" "$work/expected.nvi" ||
  fail "$output is not editor_walk/expected.nvi at $stamp; its titles: $(titles "$output" | tr '\n' ' ')"
if [ -n "$linux_cli" ]; then
  "$linux_cli" convert --force --timestamp="${stamp/_/ }" editor_walk/walk_edited.gpx \
    "$work/linux.nvi" >/dev/null 2>&1 || fail "Linux velorin-cli could not convert walk_edited.gpx"
  cmp "$saved_nvi" "$work/linux.nvi" || fail "$output is not Linux velorin-cli's bytes"
fi
echo "  saved: $(titles "$output" | tr '\n' ' ')"
