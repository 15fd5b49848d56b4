#!/usr/bin/env bash
# The Windows installer under Wine, used as a Windows user would:
#  1. msiexec /i installs velorin-VERSION-win64.msi silently: both programs,
#     their data and the installer's note under Program Files\Velorin, and
#     no README (the zip's is about the portable copy);
#  2. the installed velorin-cli.exe converts point files to the bytes Linux
#     writes (the reference cases, and Linux velorin-cli when it is given);
#  3. the Start-menu shortcut starts the installed velorin.exe, which keeps
#     its settings in %APPDATA%\Velorin and writes nothing beside itself;
#  4. a Japanese user's walk through the installed velorin.exe's map
#     editor, by key presses, in Wine's Japanese locale: a point deleted, a
#     title mended, Save As; the file saved holds the bytes velorin-cli
#     writes for the edited points (windows_editor_walk.sh);
#  5. the registry: "Open with" for each point file without taking a type's
#     default, the ProgId's command, the entry among the installed programs
#     with its version;
#  6. a newer build (the same files, the version one higher) replaces it:
#     one entry is left, with the newer version;
#  7. msiexec /x removes the program, its shortcut and its registry entries,
#     and keeps the user's settings and log.
#   windows_installer_test.sh BUILD-DIR [LINUX-VELORIN-CLI]
# Runs in .ci/windows' Wine prefix (WINEPREFIX, DISPLAY), after the target
# msi was built in BUILD-DIR; needs wixl for the newer build, and xdotool and
# xmodmap for the walk.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=$1
linux_cli=${2:-}
version=$(sed -n 's/^project(Velorin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
msi=$build/velorin-$version-win64.msi
IFS=. read -r major minor patch <<<"$version"
newer=$major.$minor.$((patch + 1))
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "windows_installer_test: $*" >&2
  exit 1
}
# A folder of Windows (%APPDATA%, ...) as a path here; Wine's cmd answers.
unix_folder() {
  local windows
  windows=$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')
  winepath -u "$windows" 2>/dev/null
}
reg_has() { wine reg query "$@" >/dev/null 2>&1; }
classes='HKLM\Software\Classes'
# What the registry says of Velorin for .EXT: "offers" when it is among the
# programs of "Open with", "default" where it took anything else there.
extension_state() {
  wine reg query "$classes\\.$1" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY/ { key = $0; next }
    key ~ /OpenWithProgids$/ && $1 == "Velorin.PointFile" { print "offers"; next }
    key !~ /OpenWithProgids$/ && /Velorin/ { print "default" }'
}
# The Velorin entries among the installed programs, one line each:
# "VERSION PRODUCT-CODE".
installed() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | awk '
      /^HKEY/ { key = $0; sub(/.*\\/, "", key); name = ""; ver = "" }
      $1 == "DisplayName" { name = substr($0, index($0, $3)) }
      $1 == "DisplayVersion" { ver = $3 }
      name == "Velorin" && ver != "" { print ver, key; name = "" }'
}
installed_versions() { installed | cut -d' ' -f1; }

[ -f "$msi" ] || fail "no $msi: cmake --build $build --target msi"
program_files=$(unix_folder ProgramFiles)
installed=$program_files/Velorin
app_data=$(unix_folder APPDATA)
roaming=$app_data/Velorin
local_data=$(unix_folder LOCALAPPDATA)/Velorin
# Windows puts the shortcut of an installation for all users in the common
# Start menu; Wine's msiexec in the installing user's.
common_start_menu=$(unix_folder ProgramData)/Microsoft/Windows/Start\ Menu/Programs/Velorin.lnk
user_start_menu=$app_data/Microsoft/Windows/Start\ Menu/Programs/Velorin.lnk
start_menu() { [ -f "$common_start_menu" ] && echo "$common_start_menu" || echo "$user_start_menu"; }
# A prefix that had Velorin before (a run of this test that failed): start
# from nothing.
for product in $(installed | cut -d' ' -f2); do
  wine msiexec /x "$product" /qn || true
done
rm -rf "$roaming" "$local_data"

SECONDS=0
echo "1. Installing $msi"
wine msiexec /i "$(winepath -w "$msi")" /qn || fail "msiexec /i failed"
for name in velorin.exe velorin-cli.exe velorin.ini velorin_e.msg velorin_j.msg velorin_hlp_e.txt \
  velorin_hlp_j.txt land-10m.bin LICENSE.txt velorin_installed.txt docs/windows.md \
  docs/command-line.md docs/formats.md; do
  [ -f "$installed/$name" ] || fail "not installed: $name"
done
[ ! -e "$installed/README.txt" ] || fail "the portable copy's README was installed"

echo "($SECONDS s) 2. The installed velorin-cli.exe converts as Linux does"
for case in gpx_to_nvi geojson_to_nvi kmz_to_nvi cp932_titles; do
  input=$(ls tests/cases/$case/input.*)
  cp "$input" "$work/"
  wine "$installed/velorin-cli.exe" convert --force --timestamp='2010/04/01 14:30:00' \
    "$(winepath -w "$work/${input##*/}")" "$(winepath -w "$work/$case.nvi")" >/dev/null \
    2>"$work/errors" || fail "velorin-cli.exe could not convert $case: $(cat "$work/errors")"
  cmp "$work/$case.nvi" "tests/cases/$case/expected.nvi" || fail "$case: not the reference bytes"
  if [ -n "$linux_cli" ]; then
    "$linux_cli" convert --force --timestamp='2010/04/01 14:30:00' "$work/${input##*/}" \
      "$work/$case.linux.nvi" >/dev/null 2>&1
    cmp "$work/$case.nvi" "$work/$case.linux.nvi" || fail "$case: not Linux velorin-cli's bytes"
  fi
done

echo "($SECONDS s) 3. The Start-menu shortcut starts the installed window"
[ -f "$(start_menu)" ] || fail "no Start-menu shortcut"
wine start "$(winepath -w "$(start_menu)")" >/dev/null 2>&1
for ((i = 0; i < 300; i++)); do
  [ -f "$roaming/velorin.ini" ] && break
  sleep 0.1
done
sleep 1  # what start-up does after it, it has done by now
wine taskkill /f /im velorin.exe >/dev/null 2>&1 || true
cmp "$roaming/velorin.ini" "$installed/velorin.ini" || fail "no settings in %APPDATA%\\Velorin"
[ ! -e "$installed/velorin_log.txt" ] || fail "a log beside the installed program"

echo "($SECONDS s) 4. A Japanese user edits points in the installed map window"
# Key presses into a window under Wine: a walk that went astray (a key lost
# on the way, seen about once in fifty walks) gets one more.
if ! tests/install/windows_editor_walk.sh "$installed" "$roaming" ${linux_cli:+"$linux_cli"}; then
  echo "The walk once more" >&2
  tests/install/windows_editor_walk.sh "$installed" "$roaming" ${linux_cli:+"$linux_cli"}
fi

echo "($SECONDS s) 5. The registry"
for extension in pot gpx kml kmz csv geojson; do
  [ "$(extension_state "$extension")" = offers ] || fail ".$extension: '$(extension_state "$extension")'"
done
supported=$(wine reg query "$classes\\Applications\\velorin.exe\\SupportedTypes" | tr -d '\r')
for extension in pot gpx kml kmz csv geojson; do
  grep -q "^ *\.$extension " <<<"$supported" || fail "velorin.exe does not list .$extension"
done
wine reg query "$classes\\Velorin.PointFile\\shell\\open\\command" /ve | tr -d '\r' |
  grep -qF 'Velorin\velorin.exe" "%1"' || fail "the ProgId does not open velorin.exe FILE"
[ "$(installed_versions)" = "$version" ] || fail "installed programs: '$(installed_versions)'"

echo "($SECONDS s) 6. A newer build ($newer) replaces it"
(cd "$build/msi" && wixl -a x64 -D Version="$newer" -o "$work/velorin-$newer-win64.msi" velorin.wxs)
wine msiexec /i "$(winepath -w "$work/velorin-$newer-win64.msi")" /qn || fail "upgrade failed"
[ "$(installed_versions)" = "$newer" ] || fail "after the upgrade: '$(installed_versions)'"
[ -f "$installed/velorin.exe" ] && [ -f "$(start_menu)" ] || fail "the upgrade lost files"

echo "($SECONDS s) 7. Uninstalling keeps the user's files"
mkdir -p "$local_data"  # as a run of the window with the log on leaves it
printf 'Line# 0\twas Skipped\r\n' >"$local_data/velorin_log.txt"
wine msiexec /x "$(winepath -w "$work/velorin-$newer-win64.msi")" /qn || fail "msiexec /x failed"
[ ! -e "$installed" ] || fail "left behind: $(ls -R "$installed")"
[ ! -e "$common_start_menu" ] && [ ! -e "$user_start_menu" ] || fail "the shortcut stays"
for key in "$classes\\Velorin.PointFile" "$classes\\Applications\\velorin.exe" \
  'HKLM\Software\Velorin' 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\velorin.exe'; do
  ! reg_has "$key" || fail "the registry keeps $key"
done
for extension in pot gpx kml kmz csv geojson; do
  [ -z "$(extension_state "$extension")" ] || fail ".$extension still offers Velorin"
done
[ -z "$(installed_versions)" ] || fail "still among the installed programs"
[ -f "$roaming/velorin.ini" ] && [ -f "$local_data/velorin_log.txt" ] ||
  fail "the user's settings or log went"
rm -rf "$roaming" "$local_data"
echo "The installer installs, upgrades and uninstalls (${SECONDS} s)"
