#!/usr/bin/env bash
# The main job: build varnoke.exe and run it under Wine, printing every box it
# shows as the robot reads it (caption, text, buttons) and its exit code.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh
cmake --preset windows >/dev/null
cmake --build build/windows -j "$(nproc)" --target varnoke robot

source scripts/wine-env.sh build/windows
wine_env_start
trap wine_env_stop EXIT

exe=build/windows/installer/varnoke.exe
robot=build/windows/tests/robot/robot.exe
echo "varnoke.exe: $(stat -c %s "$exe") bytes"
for args in "" "/a" "/u" "/help"; do
    echo
    echo "\$ varnoke.exe $args"
    # shellcheck disable=SC2086
    wine "$robot" --timeout 30 -- "$exe" $args
done
