# Shared environment of the scripts in this folder; source it, do not run it.

RZ_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
RZ_BUILD="$RZ_ROOT/build"

if [ -z "${HOME:-}" ]; then
    HOME="$(getent passwd "$(id -u)" | cut -d: -f6)"
    export HOME
fi

# Only wine32:i386 is installed (no wine64) and every exe here is 32-bit, so
# the prefix is a 32-bit one: a win64 prefix cannot even boot without wine64.
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-razaveza}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export DEBIAN_FRONTEND=noninteractive
# Called from make, the build's own make would inherit the outer make's flags.
unset MAKEFLAGS MFLAGS MAKELEVEL

rz_log() { printf '==> %s\n' "$*"; }

# Starts Xvfb on the first free display (RZ_SCREEN pixels, 1024x768 unless
# set) and exports DISPLAY; the caller kills RZ_XVFB_PID on exit. -displayfd
# reports the number only once the server accepts connections, so there is
# no race with other servers.
rz_start_xvfb() {
    local numfile tries=0
    numfile="$(mktemp)"
    Xvfb -displayfd 3 -screen 0 "${RZ_SCREEN:-1024x768}x24" -nolisten tcp 3>"$numfile" \
        </dev/null >/dev/null 2>&1 &
    RZ_XVFB_PID=$!
    while [ ! -s "$numfile" ]; do
        if ! kill -0 "$RZ_XVFB_PID" 2>/dev/null || [ $tries -ge 300 ]; then
            rm -f "$numfile"
            echo "Xvfb did not start" >&2
            return 1
        fi
        sleep 0.1
        tries=$((tries + 1))
    done
    export DISPLAY=":$(tr -dc 0-9 <"$numfile")"
    rm -f "$numfile"
}

# Stops what rz_start_xvfb and Wine left running; prints nothing.
rz_stop_display() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    if [ -n "${RZ_XVFB_PID:-}" ]; then
        kill "$RZ_XVFB_PID" 2>/dev/null || true
        wait "$RZ_XVFB_PID" 2>/dev/null || true
        RZ_XVFB_PID=
    fi
}

# Starts the Wine server and its services detached from our streams: a server
# that first starts inside ctest keeps ctest's pipe open and ctest never ends.
# A server left over from an earlier run may hold other streams or another
# display, so it is ended first.
rz_start_wineserver() {
    wineserver -k </dev/null >/dev/null 2>&1 || true
    wineserver -w </dev/null >/dev/null 2>&1 || true
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# Wine's virtual desktop (on) or one window per program on the X display
# (off); the choice stays in the prefix. In the desktop Wine manages the
# windows itself instead of waiting for a window manager that bare Xvfb lacks.
rz_virtual_desktop() {
    if [ "$1" = on ]; then
        wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
        wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
    else
        wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f || true
    fi </dev/null >/dev/null 2>&1
}
