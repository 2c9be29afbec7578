#!/bin/bash
# The game under a real Wayland compositor (a headless mutter with a 1280 x 800 virtual monitor):
# through XWayland the menu opens centred; on native Wayland (SDL_VIDEODRIVER=wayland), where a
# window has no framebuffer of its own, the menu window still gets its pixels (a buffer attached
# to its surface), and SIGTERM ends the game with status 0 in both.
set -u
GAME=$(readlink -f "${1:?usage: bash $0 /path/to/orval-kesk}")
if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
    exec dbus-run-session -- bash "$0" "$GAME"
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/orval-wayland.XXXXXX")
chmod 700 "$WORK"
export XDG_RUNTIME_DIR=$WORK
MUTTER_PID=
GAME_PID=
cleanup() {
    [ -n "$GAME_PID" ] && kill -KILL "$GAME_PID" 2>/dev/null
    [ -n "$MUTTER_PID" ] && kill "$MUTTER_PID" 2>/dev/null && wait "$MUTTER_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    for log in "$WORK"/*.log; do echo "--- $log"; tail -n 20 "$log"; done
    exit 1
}
# until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds, or fails the test.
until_true() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}
# Starts the game with the environment given, its output in $WORK/$1.log.
start_game() {
    local log=$1
    shift
    env -u ORVAL_LANG "$@" SDL_AUDIODRIVER=dummy XDG_DATA_HOME="$WORK/data" LANG=C.UTF-8 \
        LANGUAGE= "$GAME" >"$WORK/$log.log" 2>&1 &
    GAME_PID=$!
}
# SIGTERM, then the game must end within 5 s with status 0.
stop_game() {
    kill -TERM "$GAME_PID"
    until_true 5 bash -c "! kill -0 $GAME_PID 2>/dev/null" || fail "the game ignored SIGTERM"
    wait "$GAME_PID"
    local status=$?
    GAME_PID=
    [ "$status" -eq 0 ] || fail "the game ended with status $status after SIGTERM"
}

echo "== a headless mutter with a 1280 x 800 virtual monitor"
mutter --headless --wayland --virtual-monitor 1280x800 >"$WORK/mutter.log" 2>&1 </dev/null &
MUTTER_PID=$!
until_true 20 grep -q 'Using public X11 display' "$WORK/mutter.log" || fail "mutter did not start"
X_DISPLAY=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$WORK/mutter.log" | head -n1)
until_true 10 test -S "$WORK/wayland-0" || fail "no Wayland socket"
# XWayland lets in only clients with the cookie mutter keeps beside its sockets.
XAUTH=$(ls "$WORK"/.mutter-Xwaylandauth.* 2>/dev/null | head -n1)
[ -n "$XAUTH" ] || fail "no XWayland authority file"
echo "   Wayland display wayland-0, XWayland on $X_DISPLAY"

echo "== through XWayland: the menu centred at 460,286 (359 x 227)"
start_game xwayland DISPLAY="$X_DISPLAY" XAUTHORITY="$XAUTH" SDL_VIDEODRIVER=x11
menu_geometry() {
    local id
    id=$(DISPLAY="$X_DISPLAY" XAUTHORITY="$XAUTH" xdotool search --onlyvisible --name '^ORVAL KESK$' 2>/dev/null | head -n1)
    [ -n "$id" ] || return 1
    GEOMETRY=$(DISPLAY="$X_DISPLAY" XAUTHORITY="$XAUTH" xdotool getwindowgeometry --shell "$id" |
        awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ { printf "%s ", $2 }')
    [ "$GEOMETRY" = "460 286 359 227 " ]
}
GEOMETRY=
until_true 10 menu_geometry || fail "the menu window is at x y w h = ${GEOMETRY:-nowhere}"
echo "   the menu window: $GEOMETRY"
stop_game

echo "== native Wayland: a buffer attached to the menu window's surface"
start_game native WAYLAND_DISPLAY=wayland-0 SDL_VIDEODRIVER=wayland WAYLAND_DEBUG=client
until_true 10 grep -q 'wl_surface@[0-9]*\.attach(wl_buffer@' "$WORK/native.log" ||
    fail "no buffer was ever attached to a surface"
sleep 0.5
grep -q '^orval-kesk:' "$WORK/native.log" && fail "the game reported an error"
echo "   $(grep -c 'wl_surface@[0-9]*\.attach(wl_buffer@' "$WORK/native.log") buffers attached"
stop_game
echo "PASS: wayland_test"
