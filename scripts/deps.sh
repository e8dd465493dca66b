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

if have_all; then
    exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${packages[@]}"
