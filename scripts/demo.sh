#!/usr/bin/env bash
# The main job: build varnoke.exe and keld, build the example product's
# installer with keld, check it, and install it under Wine the way a person
# would, printing every window as the robot reads it (caption, text, buttons)
# and then what the installation left: files, shortcuts, uninstall entry and
# file association.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)
# keld and varnoke.exe as they ship: the optimised release build, installed.
cmake --preset release >/dev/null
cmake --build build/release -j "$jobs"
cmake --install build/release --prefix build/release/dist >/dev/null
# The robot, which reads the windows, comes from the windows build.
cmake --preset windows >/dev/null
cmake --build build/windows -j "$jobs" --target robot

keld=build/release/dist/bin/keld
stub=build/release/dist/share/keld/varnoke.exe
out=build/example
mkdir -p "$out"
"$keld" build examples/acme-notes/acme-notes.toml -o "$out/setup.exe"
"$keld" verify "$out/setup.exe"
echo "varnoke.exe: $(stat -c %s "$stub") bytes; setup.exe: $(stat -c %s "$out/setup.exe") bytes"

source scripts/i386.sh
if ! i386_runs; then
    echo "demo.sh: setup.exe is built and verified, but it cannot be run here: $I386_REASON." >&2
    exit 1
fi
source scripts/wine-env.sh build/windows
wine_env_start
trap wine_env_stop EXIT

robot=build/windows/tests/robot/robot.exe
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Acme Notes'
target="$out/installed"
# A fresh machine each time: no earlier installation to be asked about.
wine reg delete "$entry" /reg:32 /f >/dev/null 2>&1 || true
rm -rf "$target"
wintarget=$(winepath -w "$(mkdir -p "$target" && cd "$target" && pwd)")
rmdir "$target"

echo
echo "\$ setup.exe /d:\"$wintarget\"   (the robot agrees to the licence, reads the readme,"
echo "  keeps the folder, watches the progress and closes the finishing box)"
wine "$robot" --timeout 60 --press id:1001 --press id:1001 --press id:1001 \
    --watch "Installing Acme Notes" --press OK \
    --cmdline "/d:\"$wintarget\"" -- "$out/setup.exe" || true

echo
echo "Installed files:"
find "$target" -type f | sed "s|^$target/|  |"
echo "Start Menu:"
find "$WINEPREFIX/drive_c/users" -ipath "*Programs/Acme/Acme Notes/*.lnk" | sed 's|.*/Programs/|  Programs/|'
echo "Uninstall entry:"
wine reg query "$entry" /reg:32 2>/dev/null | grep -E "DisplayName|DisplayVersion|UninstallString|InstallLocation" | sed 's/^ */  /'
echo "File association:"
# The classes are shared between the 32- and 64-bit views of the registry:
# a 32-bit view of them finds nothing under Wine's 64-bit prefix.
wine reg query 'HKCR\.acmenote' 2>/dev/null | grep REG_SZ | sed 's/^ */  .acmenote /'
wine reg query 'HKCR\AcmeNotes.Note\shell\open\command' 2>/dev/null | grep REG_SZ | sed 's/^ */  open: /'

echo
echo "\$ setup.exe /x   (a switch the installer does not know)"
wine "$robot" --timeout 30 -- "$out/setup.exe" /x || true
echo
echo "\$ varnoke.exe   (the stub alone, without an archive)"
wine "$robot" --timeout 30 -- "$stub" || true
