# Whether this machine runs 32-bit x86 programs, which Wine needs for the
# installer, the Win32 tests and the end-to-end tests.
#
#   source scripts/i386.sh
#   i386_runs || echo "no Wine here: $I386_REASON"
#
# Some kernels are built or booted without 32-bit support. scripts/deps.sh then
# registers qemu's user-mode emulator as the handler of i386 programs; from qemu 8
# on, Wine starts under it in about a second. Older emulators spend about a minute
# on every Wine start, so a machine with one counts as one without 32-bit support.
# VARNOKE_WINE_TESTS=force skips the check; VARNOKE_WINE_TESTS=off answers no.

I386_REASON=""

# The major version of a qemu-i386 emulator; nothing for another program.
qemu_major() { "$1" --version 2>/dev/null | sed -n 's/^qemu-i386 version \([0-9]*\)\..*/\1/p'; }

i386_runs() {
    [ "${VARNOKE_WINE_TESTS:-}" = force ] && return 0
    if [ "${VARNOKE_WINE_TESTS:-}" = off ]; then
        I386_REASON="VARNOKE_WINE_TESTS=off"
        return 1
    fi
    local entry interpreter major
    # A binfmt handler for i386 ELF files is tried before the kernel's own loader.
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [ -f "$entry" ] || continue
        if head -n 1 "$entry" 2>/dev/null | grep -qx enabled &&
            grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" 2>/dev/null; then
            interpreter=$(sed -n 's/^interpreter //p' "$entry")
            major=$(qemu_major "$interpreter")
            if [ "${major:-0}" -lt 8 ]; then
                I386_REASON="32-bit x86 programs are handed to an emulator too slow for Wine ($interpreter)"
                return 1
            fi
        fi
    done
    local loader
    for loader in /usr/lib/wine/wine /usr/lib/i386-linux-gnu/wine/wine; do
        [ -x "$loader" ] || continue
        if "$loader" --version >/dev/null 2>&1; then
            return 0
        fi
        I386_REASON="the kernel does not run 32-bit x86 programs ($loader: $("$loader" --version 2>&1 | head -n 1))"
        return 1
    done
    I386_REASON="Wine's 32-bit loader is not installed"
    return 1
}
