# Wine environment for the test run: a private prefix, a virtual display and a
# wineserver that lives for the whole run, so that each test pays only for starting
# its own program.
#
#   source scripts/wine-env.sh <build-folder>
#   trap wine_env_stop EXIT
#   wine_env_start
#
# The prefix lives in <build-folder>/wineprefix; it is made once and reused. The
# user's ~/.wine is never touched. WINEARCH=win32 in the environment makes it a
# 32-bit prefix, as on a 32-bit Windows (a prefix of the other kind there is
# remade). Safe under `set -euo pipefail`, safe to start again after a run that
# died, and wine_env_stop may be called any number of times.

if [ $# -lt 1 ] || [ -z "$1" ]; then
    echo "usage: source scripts/wine-env.sh <build-folder>" >&2
    return 2
fi

WINE_ENV_BUILD=$(mkdir -p "$1" && cd "$1" && pwd)
export WINEPREFIX="$WINE_ENV_BUILD/wineprefix"
export WINEDEBUG=-all
# Where the kernel runs no i386 program (its IA-32 emulation off), Wine's 32-bit
# loader runs through qemu-i386 (scripts/deps.sh) at about a minute of processor
# time per start. A 64-bit prefix needs it only for the 32-bit programs themselves:
# there `wine` starts the 64-bit loader, which hands each 32-bit program on.
if [ "${WINEARCH:-}" != win32 ] && [ -x /usr/lib/wine/wine64 ] &&
    grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null; then
    mkdir -p "$WINE_ENV_BUILD/wine-bin"
    for _wine_env_name in wine wine-stable; do
        printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$WINE_ENV_BUILD/wine-bin/$_wine_env_name"
        chmod +x "$WINE_ENV_BUILD/wine-bin/$_wine_env_name"
    done
    case ":$PATH:" in
    *":$WINE_ENV_BUILD/wine-bin:"*) ;;
    *) export PATH="$WINE_ENV_BUILD/wine-bin:$PATH" ;;
    esac
elif [ "${WINEARCH:-}" = win32 ]; then
    # A 32-bit prefix needs the 32-bit loader: drop the 64-bit `wine` of an
    # environment set up earlier in the same shell.
    PATH=$(printf '%s' "$PATH" | tr ':' '\n' | grep -v '/wine-bin$' | paste -sd: -)
    export PATH
fi
# The run's own files, outside the prefix so that a broken prefix can be removed.
WINE_ENV_XVFB_PID_FILE="$WINE_ENV_BUILD/wine-env.xvfb.pid"
WINE_ENV_XVFB_PID=""
WINE_ENV_STARTED=""

_wine_env_log() { echo "wine-env: $*" >&2; }

# A display number is free when neither its socket nor its lock file exists. Two runs
# may race for the same number: Xvfb then fails to lock it, and the next one is tried.
_wine_env_start_xvfb() {
    local n ready_file tries=0
    ready_file=$(mktemp "${TMPDIR:-/tmp}/wine-env-display.XXXXXX")
    for n in $(seq 10 99); do
        [ -e "/tmp/.X11-unix/X$n" ] && continue
        [ -e "/tmp/.X$n-lock" ] && continue
        : >"$ready_file"
        # Xvfb writes the display number to the -displayfd descriptor once it accepts
        # connections: that is the readiness signal, no polling of the socket needed.
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset -displayfd 3 \
            3>"$ready_file" >/dev/null 2>&1 &
        WINE_ENV_XVFB_PID=$!
        local waited=0
        while kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null && [ ! -s "$ready_file" ] &&
            [ "$waited" -lt 100 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        if [ -s "$ready_file" ] && kill -0 "$WINE_ENV_XVFB_PID" 2>/dev/null; then
            rm -f "$ready_file"
            echo "$WINE_ENV_XVFB_PID $$" >"$WINE_ENV_XVFB_PID_FILE"
            export DISPLAY=":$n"
            return 0
        fi
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
        tries=$((tries + 1))
        [ "$tries" -ge 5 ] && break
    done
    rm -f "$ready_file"
    _wine_env_log "could not start Xvfb on a free display"
    return 1
}

# A process that died but was never reaped (a zombie) still answers kill -0.
_wine_env_alive() {
    local state
    state=$(sed -n 's/^[0-9]* (.*) \([A-Za-z]\).*/\1/p' "/proc/$1/stat" 2>/dev/null || true)
    [ -n "$state" ] && [ "$state" != "Z" ] && [ "$state" != "X" ]
}

# What a previous run left behind when it died: its wineserver (still holding windows
# on a display that may be gone) and its Xvfb. The pid file names the Xvfb and the
# shell that ran it; while that shell lives, the folder belongs to another run.
_wine_env_clean_leftovers() {
    if [ -f "$WINE_ENV_XVFB_PID_FILE" ]; then
        local old owner
        read -r old owner <"$WINE_ENV_XVFB_PID_FILE" || true
        if [ -n "${owner:-}" ] && [ "$owner" != "$$" ] && _wine_env_alive "$owner"; then
            _wine_env_log "another test run (shell $owner) is using $WINE_ENV_BUILD"
            return 1
        fi
        if [ -n "${old:-}" ] && [ "$(cat "/proc/$old/comm" 2>/dev/null || true)" = "Xvfb" ]; then
            kill "$old" 2>/dev/null || true
        fi
        rm -f "$WINE_ENV_XVFB_PID_FILE"
    fi
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}

_wine_env_reg_add() {
    wine reg add "$@" /f >/dev/null 2>&1 || {
        _wine_env_log "cannot set $1 $3 in the prefix"
        return 1
    }
}

# Bumped whenever the prefix set-up below changes, so that old prefixes are remade.
WINE_ENV_PREFIX_VERSION=1
# What the marker file of a finished prefix holds: the set-up's version, and the
# architecture when one was asked for.
WINE_ENV_PREFIX_MARK="$WINE_ENV_PREFIX_VERSION${WINEARCH:+ $WINEARCH}"

# A new prefix: no Mono or Gecko prompts; a crash ends the program with its exception
# code and a backtrace on stderr (winedbg --auto without its dialog; AeDebug's Auto=0
# would ask "Do you wish to debug it?" in a box instead); windows not handed to a window
# manager, since without one Wine waits two seconds for each window it hides; no menu
# entries in the user's desktop; the shell folders inside the prefix, not links to $HOME.
_wine_env_create_prefix() {
    _wine_env_log "creating Wine prefix $WINEPREFIX (once)"
    rm -rf "$WINEPREFIX"
    if ! WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i >/dev/null 2>&1; then
        _wine_env_log "wineboot could not create the prefix"
        return 1
    fi
    wineserver -w
    local view views="32 64" aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
    # A 32-bit prefix has one view of the registry only.
    [ "${WINEARCH:-}" = win32 ] && views=32
    for view in $views; do
        _wine_env_reg_add "$aedebug" /v Auto /t REG_SZ /d 1 /reg:$view || return 1
        _wine_env_reg_add "$aedebug" /v Debugger /t REG_SZ /d "winedbg --auto %ld %ld" \
            /reg:$view || return 1
    done
    _wine_env_reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 ||
        return 1
    _wine_env_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N || return 1
    _wine_env_reg_add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ \
        /d "" || return 1
    wineserver -w
    local link
    for link in "$WINEPREFIX"/drive_c/users/*/*; do
        if [ -L "$link" ]; then
            rm -f "$link"
            mkdir -p "$link"
        fi
    done
    echo "$WINE_ENV_PREFIX_MARK" >"$WINEPREFIX/.varnoke-prefix"
}

wine_env_start() {
    # Each step is checked here: under `set -e` a function called in a condition would
    # not stop at its first failure, and without `set -e` nothing would.
    _wine_env_clean_leftovers || return 1
    # From here on the folder is this run's, and wine_env_stop may end what is in it.
    WINE_ENV_STARTED=1
    _wine_env_start_xvfb || return 1
    if [ "$(cat "$WINEPREFIX/.varnoke-prefix" 2>/dev/null || true)" != "$WINE_ENV_PREFIX_MARK" ]; then
        _wine_env_create_prefix || return 1
    fi
    # One server for the whole run: without it every wine call starts and stops its own.
    wineserver -p </dev/null >/dev/null 2>&1 || {
        _wine_env_log "cannot start wineserver"
        return 1
    }
    # Start the prefix's services and desktop process now, with no test's pipes as
    # their output: they live as long as the server, and the first test does not pay.
    wine rundll32.exe </dev/null >/dev/null 2>&1 || true
    _wine_env_log "WINEPREFIX=$WINEPREFIX DISPLAY=$DISPLAY"
}

wine_env_stop() {
    # A run that was refused, or never started, leaves the folder to its owner.
    [ -n "${WINE_ENV_STARTED:-}" ] || return 0
    WINE_ENV_STARTED=""
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${WINE_ENV_XVFB_PID:-}" ]; then
        kill "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        wait "$WINE_ENV_XVFB_PID" 2>/dev/null || true
        WINE_ENV_XVFB_PID=""
    fi
    rm -f "${WINE_ENV_XVFB_PID_FILE:-}"
}
