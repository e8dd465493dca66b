#!/usr/bin/env bash
# Our installer side by side with the NSIS peer on the same generated payload,
# in one run under Wine (private prefix, own Xvfb, unmanaged windows):
#   - size and build time: keld best/fast, makensis zlib/lzma (solid), gzip -9 and xz -9 of a tar;
#     keld-nobg is keld-fast built without the background window
#   - silent installation and uninstallation, RUNS rounds taken in turn so that both
#     columns share the machine's noise: min, median, max seconds; peak RSS of the installer
#   - the cost per file (600 files of 10 bytes) and per byte (one random 42 MB file)
#   - with SCALE, installing and removing that many 10-byte files, to see the growth
#   - what each Win32 call of the file loop costs apart (bench/win32/file_costs.c),
#     the flush before stamping a file's time among them
#
#   bench/installers.sh [WORK_DIR]
#     KELD   keld for Linux            (default build/bench/keld/keld, then build/native/keld/keld)
#     STUB   varnoke.exe               (default build/windows/installer/varnoke.exe)
#     RUNS   rounds per installer      (default 5)
#     SCALE  file counts, "" to skip   (default "1000 10000 70000")
#     BEST   0 to leave out keld best  (its build alone takes about a minute)
#
# Needs makensis, bc, Xvfb and Wine (scripts/deps.sh installs them). The payloads live in WORK_DIR
# (default build/bench-installers) and are made again on every run.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
work=$(mkdir -p "${1:-$repo/build/bench-installers}" && cd "${1:-$repo/build/bench-installers}" && pwd)
runs=${RUNS:-5}
scale=${SCALE-1000 10000 70000}
stub=${STUB:-$repo/build/windows/installer/varnoke.exe}
keld=${KELD:-}
if [ -z "$keld" ]; then
    for k in "$repo/build/bench/keld/keld" "$repo/build/native/keld/keld"; do
        [ -x "$k" ] && keld=$k && break
    done
fi
[ -x "$keld" ] || { echo "no keld: build the bench or native preset, or set KELD" >&2; exit 2; }
[ -f "$stub" ] || { echo "no stub: build the windows preset, or set STUB" >&2; exit 2; }
command -v makensis >/dev/null || { echo "makensis missing (Debian package nsis)" >&2; exit 2; }

source "$repo/scripts/wine-env.sh" "$work"
trap wine_env_stop EXIT
wine_env_start
drive_c=$WINEPREFIX/drive_c

now() { date +%s.%N; }
elapsed() { echo "$2 - $1" | bc; }
stats() { # min median max of the numbers on stdin
    sort -n | awk '{a[NR]=$1} END {printf "%.2f %.2f %.2f", a[1], a[int((NR+1)/2)], a[NR]}'
}

payload() { # dir files megabytes [size]
    rm -rf "$1"
    python3 "$repo/bench/make_payload.py" "$@"
}

build_keld() { # name payload level [flag...] -> name.exe; prints the build time
    local flags='"Uninstallable"' f
    for f in "${@:4}"; do flags="$flags, \"$f\""; done
    cat >"$work/$1.toml" <<T
[product]
name = "Bench $1"
publisher = "Bench"
version = "1.0"
install-dir = "bench-$1"
uninstall-key = "Bench-$1"
uninstall-subdir = "Uninstall"
flags = [$flags]
time = 2024-05-01T12:00:00
[output]
compression = "$3"
[[files]]
source = "$2"
T
    local s e
    s=$(now)
    "$keld" build "$work/$1.toml" -o "$work/$1.exe" --stub "$stub" -q
    e=$(now)
    elapsed "$s" "$e"
}

build_nsis() { # name payload compressor; prints the build time
    local s e
    s=$(now)
    makensis -V1 -DCOMP="$3" -DPAYLOAD="$2" -DOUT="$work/$1.exe" "$repo/bench/peer.nsi" >/dev/null
    e=$(now)
    elapsed "$s" "$e"
}

# The peak resident size (VmHWM, KB) of the processes whose command line ends
# in <name>.exe, sampled until the file $1.stop appears; written to $1. `wine`
# hands the program to a process of its own that it does not wait for, so the
# launcher's own figure (time -f %M) says nothing about the installer.
watch_peak() { # out name
    local out=$1 name=$2 peak=0 pid hwm
    while [ ! -e "$out.stop" ]; do
        for pid in $(pgrep -f "$name\.exe( |\$)" || true); do
            hwm=$(awk '/^VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || true)
            [ -n "$hwm" ] && [ "$hwm" -gt "$peak" ] && peak=$hwm
        done
        sleep 0.02
    done
    echo "$peak" >"$out"
}

# One silent installation and its uninstallation; appends the seconds of each
# and the peak RSS in KB to $work/<name>.install, .uninstall and .rss.
round() { # name files
    local name=$1 files=$2 dir="$drive_c/bench-$1" s e watcher
    rm -rf "$dir" "$work/rss.txt" "$work/rss.txt.stop"
    watch_peak "$work/rss.txt" "$name" &
    watcher=$!
    s=$(now)
    case $name in
    keld-*) wine "$work/$name.exe" /a "/d:C:\\bench-$name" ;;
    nsis-*) wine "$work/$name.exe" /S "/D=C:\\bench-$name" ;;
    esac >/dev/null 2>&1 || true
    e=$(now)
    touch "$work/rss.txt.stop"
    wait "$watcher" || true
    elapsed "$s" "$e" >>"$work/$name.install"
    cat "$work/rss.txt" >>"$work/$name.rss"
    local placed
    placed=$( (find "$dir" -name '*.dat' -type f 2>/dev/null || true) | wc -l)
    [ "$placed" -eq "$files" ] || echo "  $name: $placed of $files files installed" >&2
    s=$(now)
    case $name in
    keld-*) wine "$dir/Uninstall/Uninstall.exe" /a "/u:Bench-$name" ;;
    nsis-*) wine "$dir/Uninstall.exe" /S "_?=C:\\bench-$name" ;;
    esac >/dev/null 2>&1 || true
    e=$(now)
    elapsed "$s" "$e" >>"$work/$name.uninstall"
    # The uninstaller's clean-up batch (unins<8 hex digits>.bat in the temporary
    # folder) deletes it after it ended, the folders and then itself: wait for it
    # so that it does not run into the next round.
    for _ in $(seq 200); do
        [ -n "$(find "$drive_c/users" -maxdepth 6 -name 'unins????????.bat' 2>/dev/null)" ] ||
            break
        sleep 0.1
    done
    placed=$( (find "$dir" -name '*.dat' -type f 2>/dev/null || true) | wc -l)
    [ "$placed" -eq 0 ] || echo "  $name: $placed files left after uninstallation" >&2
    rm -rf "$dir"
}

compare() { # title files rounds installer...
    local title=$1 files=$2 rounds=$3
    shift 3
    local name
    for name in "$@"; do rm -f "$work/$name".{install,uninstall,rss}; done
    for _ in $(seq "$rounds"); do
        for name in "$@"; do round "$name" "$files"; done
    done
    echo "$title: $rounds rounds each (seconds min median max; peak RSS of the installation)"
    printf "  %-10s %-20s %-20s %s\n" installer install uninstall peak_MB
    for name in "$@"; do
        printf "  %-10s %-20s %-20s %d\n" "$name" "$(stats <"$work/$name.install")" \
            "$(stats <"$work/$name.uninstall")" $(($(sort -n "$work/$name.rss" | tail -1) / 1024))
    done
    echo
}

# The issue's payload: 600 files, 42 MB, a third incompressible.
payload "$work/payload" 600 40
echo "payload: $(du -sb "$work/payload" | cut -f1) bytes in 600 files"
tar -C "$work/payload" -cf "$work/payload.tar" .
printf "%-10s %12s %8s\n" what bytes build_s
s=$(now)
printf "%-10s %12s %8s\n" gzip-9 "$(gzip -9 -c "$work/payload.tar" | wc -c)" "$(elapsed "$s" "$(now)")"
s=$(now)
printf "%-10s %12s %8s\n" xz-9 "$(xz -9 -T1 -c "$work/payload.tar" | wc -c)" "$(elapsed "$s" "$(now)")"
levels="fast"
[ "${BEST:-1}" = 0 ] || levels="best fast"
for l in $levels; do
    t=$(build_keld "keld-$l" "$work/payload" "$l")
    printf "%-10s %12s %8s\n" "keld-$l" "$(stat -c %s "$work/keld-$l.exe")" "$t"
done
# The background window is the publisher's choice, not the mode's: /a still
# shows it, while the peer's /S shows nothing. keld-nobg is keld-fast without it.
build_keld keld-nobg "$work/payload" fast NoBackgroundWindow >/dev/null
for c in zlib lzma; do
    t=$(build_nsis "nsis-$c" "$work/payload" "$c")
    printf "%-10s %12s %8s\n" "nsis-$c" "$(stat -c %s "$work/nsis-$c.exe")" "$t"
done
echo
installers=""
for l in $levels; do installers="$installers keld-$l"; done
installers="$installers keld-nobg"
# shellcheck disable=SC2086
compare "600 files, 42 MB" 600 "$runs" $installers nsis-zlib nsis-lzma

payload "$work/payload" 600 0 10
build_keld keld-fast "$work/payload" fast >/dev/null
build_keld keld-nobg "$work/payload" fast NoBackgroundWindow >/dev/null
build_nsis nsis-zlib "$work/payload" zlib >/dev/null
compare "600 files of 10 bytes" 600 "$runs" keld-fast keld-nobg nsis-zlib

payload "$work/payload" 1 0 $((42 * 1024 * 1024))
build_keld keld-fast "$work/payload" fast >/dev/null
build_nsis nsis-zlib "$work/payload" zlib >/dev/null
compare "one random file of 42 MB" 1 "$runs" keld-fast nsis-zlib

for n in $scale; do
    payload "$work/payload" "$n" 0 10
    build_keld keld-fast "$work/payload" fast >/dev/null
    build_nsis nsis-zlib "$work/payload" zlib >/dev/null
    compare "$n files of 10 bytes" "$n" 1 keld-fast nsis-zlib
done
rm -rf "$work/payload" "$work/payload.tar"

i686-w64-mingw32-gcc -O2 -o "$work/file_costs.exe" "$repo/bench/win32/file_costs.c" -luser32 -lgdi32
wine "$work/file_costs.exe" 'C:\file-costs' 600
rm -rf "$drive_c/file-costs"
