#!/usr/bin/env bash
# The main job: build varnoke.exe and keld, build the example product's
# installer with keld, check it, and run it under Wine, printing every box it
# shows as the robot reads it (caption, text, buttons) and its exit code.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build build/windows -j "$jobs" --target varnoke robot
cmake --preset native >/dev/null
cmake --build build/native -j "$jobs" --target keld

keld=build/native/keld/keld
stub=build/windows/installer/varnoke.exe
out=build/example
mkdir -p "$out"
"$keld" build examples/acme-notes/acme-notes.toml -o "$out/setup.exe" --stub "$stub"
"$keld" verify "$out/setup.exe"
echo "varnoke.exe: $(stat -c %s "$stub") bytes; setup.exe: $(stat -c %s "$out/setup.exe") bytes"

source scripts/wine-env.sh build/windows
wine_env_start
trap wine_env_stop EXIT

robot=build/windows/tests/robot/robot.exe
run() {
    echo
    echo "\$ $*"
    wine "$robot" --timeout 30 -- "$@" || true
}
run "$out/setup.exe"
run "$out/setup.exe" /x
run "$stub"
