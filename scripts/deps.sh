#!/usr/bin/env bash
# Installs everything the build and the tests use on a fresh Debian machine.
# Quick when all of it is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang clang-format libclang-rt-14-dev
    g++-mingw-w64-i686-posix g++-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
    googletest libgtest-dev libbenchmark-dev zlib1g-dev liblzma-dev libtomlplusplus-dev
    nlohmann-json3-dev osslsigncode openssl
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

# Wine's loader for 32-bit programs is itself an i386 Linux program. A 64-bit kernel
# with its IA-32 emulation off refuses to start it ("Exec format error"); there
# qemu-i386 runs it instead, registered as the interpreter of i386 programs.
i386_runs() { /lib/ld-linux.so.2 --version >/dev/null 2>&1; }
if ! i386_runs; then
    if [ ! -x /usr/bin/qemu-i386-static ]; then
        $sudo apt-get update -q
        $sudo apt-get install -y -q --no-install-recommends qemu-user-static
    fi
    binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        # The i386 ELF executable header, as binfmt_misc matches it; F opens the
        # interpreter now, so that it works in every mount namespace.
        echo ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            $sudo tee "$binfmt/register" >/dev/null
    fi
    i386_runs || {
        echo "deps: i386 programs cannot run on this machine, so neither can Wine" >&2
        exit 1
    }
fi
