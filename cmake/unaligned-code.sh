#!/bin/sh
# GCC runs every step of compiling a stub source through this (-wrapper), with
# this script's own hash first, so that a change here is a change of the
# compile command to CMake and ccache alike.
# Each function is its own code section, and the assembler aligns each code
# section and each object's table of constants to 4 bytes, padding its end to
# match: up to 3 bytes after every function and every object's texts. The
# i486 runs unaligned code as well, so before assembling, these sections are
# declared byte-aligned ("x0", "dr0"); GCC aligns what needs it (tables,
# pointers) by a directive of its own, which still holds.
shift
case "$1" in
*as)
    for argument in "$@"; do
        case "$argument" in
        *.s)
            sed -i -e 's/^\t\.section\t\(\.text[^,]*\),"x"$/\t.section\t\1,"x0"/' \
                -e 's/^\t\.section[ \t]\(\.rdata[^,]*\),"dr"$/\t.section\t\1,"dr0"/' \
                "$argument" || exit 1
            ;;
        esac
    done
    ;;
esac
exec "$@"
