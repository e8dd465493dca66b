#!/usr/bin/env bash
# Installs everything the build and the tests use on a fresh Debian machine.
# Quick when all of it is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-14-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
    googletest libgtest-dev libbenchmark-dev zlib1g-dev liblzma-dev libtomlplusplus-dev
    nlohmann-json3-dev osslsigncode openssl
    nsis bc time
    wine wine32:i386 wine64 xvfb xauth x11-utils
)

have_all() {
    dpkg --print-foreign-architectures | grep -qx i386 || return 1
    local missing
    missing=$(dpkg-query -W -f='${db:Status-Abbrev} ${binary:Package}\n' "${packages[@]}" 2>&1 |
        grep -v '^ii ' || true)
    [ -z "$missing" ]
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

if ! have_all; then
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
fi

# Some kernels run no 32-bit x86 program at all (IA-32 emulation off), so Wine's
# 32-bit loader cannot start. qemu's user-mode emulator, registered as the kernel's
# handler for i386 programs, runs it instead. It must be qemu 8 or later: 7.2
# spends close to a minute of processor time on every Wine start reserving the
# address space, 10 starts it in half a second. Debian ships 10 in bookworm's
# backports; it is unpacked into its own folder, not installed over the system's.
# Asked for with VARNOKE_WINE_TESTS=emulate. A fresh 64-bit prefix is ready in about a
# minute under it, a 32-bit one in half a minute, and the whole test run takes about 23
# minutes on two quiet cores; Wine under the emulator still fails now and then to start
# a program at all, so CI does not depend on it yet.
qemu_dir=/opt/varnoke-qemu
qemu="$qemu_dir/usr/bin/qemu-i386"
binfmt=/proc/sys/fs/binfmt_misc

source "$(dirname "$0")/i386.sh"

# Nothing, and no failure, when no handler is registered.
i386_handler() { sed -n 's/^interpreter //p' "$binfmt/qemu-i386" 2>/dev/null || true; }

fetch_qemu() {
    local codename tmp
    codename=$(sed -n 's/^VERSION_CODENAME=//p' /etc/os-release)
    if [ "$codename" = bookworm ]; then
        echo "deb http://deb.debian.org/debian bookworm-backports main" |
            $sudo tee /etc/apt/sources.list.d/varnoke-backports.list >/dev/null
        $sudo apt-get update -q -o Dir::Etc::sourcelist=sources.list.d/varnoke-backports.list \
            -o Dir::Etc::sourceparts=- -o APT::Get::List-Cleanup=0 || return 1
    fi
    tmp=$(mktemp -d)
    chmod 755 "$tmp"
    (cd "$tmp" && { apt-get download -q -t "$codename-backports" qemu-user 2>/dev/null ||
        apt-get download -q qemu-user; }) &&
        $sudo dpkg -x "$tmp"/qemu-user_*.deb "$qemu_dir"
    local result=$?
    rm -rf "$tmp"
    return $result
}

ensure_i386_runner() {
    local handler major
    handler=$(i386_handler)
    if [ -n "$handler" ]; then
        major=$(qemu_major "$handler")
        [ "${major:-0}" -ge 8 ] && return 0
    elif /usr/lib/wine/wine --version >/dev/null 2>&1; then
        return 0
    fi
    # Without it the Wine suites are skipped and say so: never fail the install here.
    [ -n "$(qemu_major "$qemu")" ] || fetch_qemu || true
    major=$(qemu_major "$qemu")
    if [ "${major:-0}" -lt 8 ]; then
        echo "deps.sh: no qemu-i386 of version 8 or later to run 32-bit programs" >&2
        return 0
    fi
    [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
    if [ ! -w "$binfmt/register" ] && [ -z "$sudo" ]; then
        echo "deps.sh: cannot register qemu-i386 as the handler of 32-bit programs" >&2
        return 0
    fi
    [ -e "$binfmt/qemu-i386" ] && { echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null; }
    # The F flag opens the emulator now, so it serves programs in any mount namespace.
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
        $sudo tee "$binfmt/register" >/dev/null || echo "deps.sh: registering qemu-i386 failed" >&2
}

if [ "${VARNOKE_WINE_TESTS:-}" = emulate ]; then
    ensure_i386_runner
fi
