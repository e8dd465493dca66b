# Whether this machine runs 32-bit x86 programs itself, which Wine needs for the
# installer, the Win32 tests and the end-to-end tests.
#
#   source scripts/i386.sh
#   i386_runs_natively || echo "no Wine here: $I386_REASON"
#
# Some kernels are built or booted without 32-bit support; installing a user-mode
# emulator (qemu's binfmt handler) then makes Wine start, but a prefix takes tens of
# minutes to boot and a test run would not end in a day. Such a machine counts as
# one without 32-bit support. VARNOKE_WINE_TESTS=force skips the check.

I386_REASON=""

i386_runs_natively() {
    [ "${VARNOKE_WINE_TESTS:-}" = force ] && return 0
    local entry
    # A binfmt handler for i386 ELF files is tried before the kernel's own loader.
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [ -f "$entry" ] || continue
        if head -n 1 "$entry" 2>/dev/null | grep -qx enabled &&
            grep -q '^magic 7f454c4601010100000000000000000002000300' "$entry" 2>/dev/null; then
            I386_REASON="32-bit x86 programs are handed to an emulator ($(sed -n 's/^interpreter //p' "$entry"))"
            return 1
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
