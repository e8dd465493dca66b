#!/usr/bin/env bash
# Pictures of every window of the example's installation under Wine: the robot
# saves the whole screen (the background and the dialog on it) as each dialog
# appears. With a stub given, that stub is used instead of the built one, to
# compare two builds side by side.
#
#   scripts/screenshots.sh OUT_FOLDER [STUB]      (pictures: OUT_FOLDER/windowN.bmp)
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(mkdir -p "$1" && cd "$1" && pwd)
stub=${2:-build/windows/installer/varnoke.exe}
keld=build/native/keld/keld
robot=build/windows/tests/robot/robot.exe

"$keld" build examples/acme-notes/acme-notes.toml -o "$out/setup.exe" --stub "$stub" -q

source scripts/wine-env.sh build/windows
wine_env_start
trap wine_env_stop EXIT
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Acme Notes'
wine reg delete "$entry" /reg:32 /f >/dev/null 2>&1 || true
target="$out/installed"
rm -rf "$target"
wintarget=$(winepath -w "$(mkdir -p "$target" && cd "$target" && pwd)")
rmdir "$target"
wine "$robot" --timeout 120 --shots "$(winepath -w "$out")" --press id:1001 --press id:1001 \
    --press id:1001 --watch "Installing Acme Notes" --press OK --cmdline "/d:\"$wintarget\"" -- "$out/setup.exe" |
    tee "$out/windows.jsonl" || true
