#!/usr/bin/env bash
# Runs one command inside the Wine test environment of a build folder, e.g.
#   scripts/wine-run.sh build/windows ctest --test-dir build/windows -L wine
#   scripts/wine-run.sh build/windows ctest --test-dir build/native -L e2e
# and ends the environment afterwards, whatever the command did.
set -euo pipefail
if [ $# -lt 2 ]; then
    echo "usage: scripts/wine-run.sh <windows-build-folder> command [args]..." >&2
    exit 2
fi
source "$(dirname "$0")/wine-env.sh" "$1"
shift
trap wine_env_stop EXIT
wine_env_start
status=0
"$@" || status=$?
exit "$status"
