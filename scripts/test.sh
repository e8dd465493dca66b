#!/usr/bin/env bash
# Runs every test: the portable unit tests natively under the sanitizers, the
# same tests and the Win32 tests under Wine, and the end-to-end tests that
# drive varnoke.exe under Wine. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh

jobs=$(nproc)
cmake --preset windows >/dev/null
cmake --build build/windows -j "$jobs"
cmake --preset native >/dev/null
cmake --build build/native -j "$jobs"

status=0
ctest --test-dir build/native -L native --output-on-failure -j "$jobs" || status=1

source scripts/i386.sh
if ! i386_runs; then
    echo "test.sh: the Wine and end-to-end suites did NOT run: $I386_REASON." >&2
    [ "${VARNOKE_WINE_TESTS:-}" = off ] ||
        echo "test.sh: set VARNOKE_WINE_TESTS=emulate to run them under qemu 10 (scripts/deps.sh fetches it)." >&2
    exit $status
fi

source scripts/wine-env.sh build/windows
wine_env_start
trap wine_env_stop EXIT

ctest --test-dir build/windows -L wine --output-on-failure -j "$jobs" || status=1
ctest --test-dir build/native -L e2e --output-on-failure || status=1

# The Windows versions once more in a 32-bit prefix: its own Xvfb, server and
# prefix, made once and kept in the build folder like the first.
wine_env_stop
export WINEARCH=win32
source scripts/wine-env.sh build/windows/wine32
wine_env_start
ctest --test-dir build/native -L e2e -R '^Example/(WindowsVersions|EveryonesLinks)\.' \
    --output-on-failure || status=1
exit $status
