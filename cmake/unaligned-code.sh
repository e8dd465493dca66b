#!/bin/sh
# GCC runs every step of compiling a stub source through this (-wrapper).
# Each function is its own code section, and the assembler aligns each to
# 4 bytes and pads its end to match: up to 3 bytes after every function.
# The i486 runs unaligned code as well, so before assembling, the stub's
# code sections are declared byte-aligned ("x0"); data keeps its alignment.
case "$1" in
*as)
    for argument in "$@"; do
        case "$argument" in
        *.s) sed -i 's/^\t\.section\t\(\.text[^,]*\),"x"$/\t.section\t\1,"x0"/' "$argument" || exit 1 ;;
        esac
    done
    ;;
esac
exec "$@"
