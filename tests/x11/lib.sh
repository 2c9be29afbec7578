# Shared harness of the real-window tests: the game on a private Xvfb screen with openbox as the
# window manager, driven by xdotool and checked through window geometry and screenshot pixels.
#
# A test script starts with
#     source "$(dirname "$0")/lib.sh" "$1"      # $1: the orval-kesk binary
#     start_desktop
#     start_game
# and then uses the helpers below. Every helper prints what it does; a failed check prints why,
# saves a screenshot under <build dir>/x11-shots and ends the script with status 1. Everything
# started here is stopped again when the script exits.

set -u

if [ $# -lt 1 ] || [ ! -x "$1" ]; then
    echo "usage: bash $0 /path/to/orval-kesk" >&2
    exit 2
fi

ORVAL_GAME=$(readlink -f "$1")
TEST_NAME=$(basename "$0" .sh)
SHOT_DIR=$(dirname "$ORVAL_GAME")/x11-shots
WORK_DIR=$(mktemp -d "${TMPDIR:-/tmp}/orval-x11.XXXXXX")
SHOT="$WORK_DIR/screen.png"
URL_LOG="$WORK_DIR/xdg-open.log"
# The size of the Xvfb screen: set in the environment, or by the script before start_desktop.
SCREEN_W=${SCREEN_W:-1280}
SCREEN_H=${SCREEN_H:-1024}
PICTURES=$(dirname "$ORVAL_GAME")/data/pictures
[ -d "$PICTURES" ] || PICTURES=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/data/pictures

XVFB_PID=
WM_PID=
GAME_PID=
GAME_STATUS=
now_ms() { echo $(($(date +%s%N) / 1000000)); }
T0=$(now_ms)
mkdir -p "$SHOT_DIR"

IMPORT=/usr/bin/import
CONVERT=/usr/bin/convert
COMPARE=/usr/bin/compare

# ---- logging and failure -----------------------------------------------------------------------

log() {
    local t=$(($(now_ms) - T0))
    printf '[%3d.%02d] %s\n' $((t / 1000)) $((t % 1000 / 10)) "$*"
}

step() {
    log "== $*"
}

# Saves the current screen as <build dir>/x11-shots/<test>-<name>.png and prints the path.
save_shot() {
    local file="$SHOT_DIR/$TEST_NAME-$1.png"
    if [ -n "${DISPLAY:-}" ] && "$IMPORT" -window root "$file" 2>/dev/null; then
        log "   screenshot: $file"
    fi
}

fail() {
    log "FAIL: $*"
    if [ -n "$GAME_PID" ] && [ -n "${DISPLAY:-}" ]; then
        log "   visible game windows (id x y width height title):"
        game_windows | sed 's/^/       /'
    fi
    save_shot "failure"
    if [ -s "$WORK_DIR/game.log" ]; then
        log "   game output:"
        sed 's/^/       /' "$WORK_DIR/game.log"
    fi
    exit 1
}

# ---- processes -----------------------------------------------------------------------------------

stop_pid() {
    local pid=$1
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || return 0
    local i
    for i in $(seq 1 30); do
        kill -0 "$pid" 2>/dev/null || break
        if [ "$(process_state "$pid")" = Z ]; then break; fi
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    return 0
}

cleanup() {
    local status=$?
    trap - EXIT
    if [ -n "$GAME_PID" ]; then stop_pid "$GAME_PID"; fi
    stop_pid "$WM_PID"
    stop_pid "$XVFB_PID"
    rm -rf "$WORK_DIR"
    if [ "$status" -eq 0 ]; then log "PASS: $TEST_NAME"; fi
    exit "$status"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

# The state letter of a process (R, S, Z, ...), empty when it is gone.
process_state() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 0
    stat=${stat##*) }
    echo "${stat%% *}"
}

# ---- the desktop -----------------------------------------------------------------------------------

# Starts Xvfb on the first free display from :90 upward, then openbox, and waits for both.
# Xvfb writes its display number to a file once it accepts clients (-displayfd); if another
# server took the number meanwhile, ours exits and the next number is tried.
start_desktop() {
    local n i
    for n in $(seq 90 160); do
        if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
        step "starting Xvfb on :$n (${SCREEN_W}x${SCREEN_H}x24)"
        rm -f "$WORK_DIR/display"
        Xvfb ":$n" -screen 0 "${SCREEN_W}x${SCREEN_H}x24" -nolisten tcp -noreset \
            -displayfd 3 3>"$WORK_DIR/display" >"$WORK_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        for i in $(seq 1 200); do
            if [ -s "$WORK_DIR/display" ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then break; fi
            sleep 0.05
        done
        if [ "$(tr -d '\n' <"$WORK_DIR/display" 2>/dev/null)" = "$n" ] &&
            kill -0 "$XVFB_PID" 2>/dev/null; then
            export DISPLAY=":$n"
            break
        fi
        log "   display :$n did not come up, trying the next one"
        stop_pid "$XVFB_PID"
        XVFB_PID=
    done
    [ -n "$XVFB_PID" ] || fail "no free display for Xvfb"

    # ORVAL_TEST_WM names another window manager to try the game under (metacity, xfwm4, icewm),
    # or "none" for the bare server of a kiosk started with xinit.
    local wm=${ORVAL_TEST_WM:-openbox --sm-disable}
    if [ "$wm" = none ]; then
        step "no window manager"
        read_usable_area
        return 0
    fi
    # xfwm4 keeps its settings behind a session bus, and ends without one.
    [ "${wm%% *}" != xfwm4 ] || wm="dbus-run-session -- $wm"
    step "starting $wm"
    $wm >"$WORK_DIR/openbox.log" 2>&1 &
    WM_PID=$!
    for i in $(seq 1 100); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; then
            log "   $wm is managing the screen"
            read_usable_area
            return 0
        fi
        kill -0 "$WM_PID" 2>/dev/null || break
        sleep 0.05
    done
    cat "$WORK_DIR/openbox.log"
    fail "$wm did not start"
}

# The screen's usable area, as the window manager leaves it beside its panels (_NET_WORKAREA):
# USABLE_X, USABLE_Y, USABLE_W, USABLE_H; the whole screen where it names none.
read_usable_area() {
    local i area
    USABLE_X=0 USABLE_Y=0 USABLE_W=$SCREEN_W USABLE_H=$SCREEN_H
    for i in $(seq 1 10); do
        area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/^[^=]*= *//p' |
            awk -F', *' '{ print $1, $2, $3, $4 }')
        [ -z "$area" ] || break
        sleep 0.05
    done
    [ -z "$area" ] || read -r USABLE_X USABLE_Y USABLE_W USABLE_H <<<"$area"
    log "   usable area: $USABLE_X,$USABLE_Y ${USABLE_W}x$USABLE_H"
}

# Stops the window manager and Xvfb, so that start_desktop may start another screen.
stop_desktop() {
    if [ -n "$GAME_PID" ]; then stop_pid "$GAME_PID"; fi
    GAME_PID=
    stop_pid "$WM_PID"
    stop_pid "$XVFB_PID"
    WM_PID=
    XVFB_PID=
    unset DISPLAY
}

# Options the game is started with (as an array: GAME_ARGS=(--stage)).
GAME_ARGS=()

# The player's own files (the settings the game keeps between runs) live here, one folder a test,
# kept across the restarts of one test; the player's languages are $GAME_LANGUAGE (gettext's
# LANGUAGE, none unless a test sets it) before $GAME_LANG (LANG, the C locale unless set).
GAME_DATA_HOME="$WORK_DIR/data-home"
GAME_LANGUAGE=
GAME_LANG=C.UTF-8

# Starts the game with dummy sound (with GAME_AUDIO_FILE set: SDL's disk driver writing what the
# game plays into that file) and a stub xdg-open that writes its argument to $URL_LOG.
start_game() {
    mkdir -p "$WORK_DIR/bin"
    cat >"$WORK_DIR/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$1" >>"$URL_LOG"
EOF
    chmod +x "$WORK_DIR/bin/xdg-open"
    rm -f "$URL_LOG"
    GAME_STATUS=
    step "starting the game $ORVAL_GAME"
    (
        cd "$WORK_DIR" || exit 1
        audio=dummy
        [ -z "${GAME_AUDIO_FILE:-}" ] || audio=disk
        exec env -u LC_ALL -u LC_MESSAGES -u ORVAL_LANG PATH="$WORK_DIR/bin:$PATH" \
            SDL_AUDIODRIVER="$audio" SDL_DISKAUDIOFILE="${GAME_AUDIO_FILE:-}" \
            SDL_VIDEODRIVER=x11 XDG_DATA_HOME="$GAME_DATA_HOME" LANG="$GAME_LANG" \
            LANGUAGE="$GAME_LANGUAGE" "$ORVAL_GAME" "${GAME_ARGS[@]}"
    ) >"$WORK_DIR/game.log" 2>&1 &
    GAME_PID=$!
    log "   game process $GAME_PID"
}

game_running() {
    local state
    state=$(process_state "$GAME_PID")
    [ -n "$state" ] && [ "$state" != Z ]
}

# Waits up to $1 seconds for the game to end and checks its exit status against $2.
expect_exit() {
    local timeout=$1 expected=$2
    step "waiting up to ${timeout}s for the game to end with status $expected"
    local deadline=$(($(now_ms) + timeout * 1000))
    while game_running; do
        if [ "$(now_ms)" -gt "$deadline" ]; then
            fail "the game is still running ${timeout}s later"
        fi
        sleep 0.05
    done
    wait "$GAME_PID"
    GAME_STATUS=$?
    local pid=$GAME_PID
    GAME_PID=
    if [ "$GAME_STATUS" -ne "$expected" ]; then
        if grep -q 'BadWindow' "$WORK_DIR/game.log" && grep -q 'X_SendEvent' "$WORK_DIR/game.log"
        then
            log "   (Xlib ended the game: SDL's wake-up message reached a window the game had" \
                "just destroyed; the game needs an X error handler that ignores it)"
        fi
        fail "the game (process $pid) ended with status $GAME_STATUS, expected $expected"
    fi
    log "   the game ended with status $GAME_STATUS"
}

# ---- polling -----------------------------------------------------------------------------------------

# until_true TIMEOUT COMMAND...: runs COMMAND until it succeeds; fails after TIMEOUT seconds
# (whole seconds) with $POLL_DESCRIPTION and what COMMAND left in $POLL_DETAIL. Unless
# POLL_SCREENSHOT=no, a screenshot is taken into $SHOT before each try, so COMMAND may read pixels.
POLL_DESCRIPTION=
POLL_DETAIL=
POLL_SCREENSHOT=yes
until_true() {
    local timeout=$1
    shift
    local deadline=$(($(now_ms) + timeout * 1000))
    POLL_DETAIL=
    while true; do
        if [ "$POLL_SCREENSHOT" != no ]; then screenshot; fi
        if "$@"; then return 0; fi
        game_running || fail "the game ended while waiting for ${POLL_DESCRIPTION:-$*}"
        if [ "$(now_ms)" -gt "$deadline" ]; then
            fail "${POLL_DESCRIPTION:-$*}: not within ${timeout}s${POLL_DETAIL:+ ($POLL_DETAIL)}"
        fi
        sleep 0.1
    done
}

# ---- windows -------------------------------------------------------------------------------------------

# The scenes of the game: client size and where the game places the window in the 1280 x 800
# area it was laid out on (centred ones at ((1280 - w) / 2, (800 - h) / 2), rounded down). On
# the screen that area lies centred (see scene_rect).
declare -A SCENE_SIZE=(
    [orval]="359 227" [pribeh]="451 388" [sklad]="821 451" [doma]="822 454"
    [inventar]="516 111" [mapa]="453 446" [velitelstvi]="137 94" [green]="820 452"
    [brown]="823 448" [rozmluva]="238 134" [banka]="820 451" [vila]="819 452"
    [pes]="821 453" [black]="823 456" [win]="584 528" [about]="583 525")
declare -A SCENE_FIXED=([inventar]="500 12" [velitelstvi]="512 268" [rozmluva]="341 280")
declare -A SCENE_TITLE=([inventar]="Inventář" [win]="Form1")
# Background pictures: file and the window pixel of its upper-left corner.
declare -A SCENE_PICTURE=(
    [orval]="menu.png 0 0" [doma]="home.png 8 40" [mapa]="map.png 8 40"
    [sklad]="warehouse.png 8 40" [brown]="brown.png 8 40" [green]="shop.png 8 40"
    [banka]="bank.png 8 40" [vila]="villa.png 8 40" [pes]="dog.png 8 40"
    [black]="hideout.png 8 40" [win]="victory.png 0 0" [about]="credits.png 0 0")

# All the windows together in the 1280 x 800 area: the fixed ones and, in its middle, the widest
# and the tallest of the centred ones (HULL_X, HULL_Y, HULL_W, HULL_H).
_windows_together() {
    local scene w h x y widest=0 tallest=0
    for scene in "${!SCENE_SIZE[@]}"; do
        [ -z "${SCENE_FIXED[$scene]:-}" ] || continue
        read -r w h <<<"${SCENE_SIZE[$scene]}"
        [ "$w" -le "$widest" ] || widest=$w
        [ "$h" -le "$tallest" ] || tallest=$h
    done
    local left=$(((1280 - widest) / 2)) top=$(((800 - tallest) / 2))
    local right=$((left + widest)) bottom=$((top + tallest))
    for scene in "${!SCENE_FIXED[@]}"; do
        read -r x y <<<"${SCENE_FIXED[$scene]}"
        read -r w h <<<"${SCENE_SIZE[$scene]}"
        [ "$x" -ge "$left" ] || left=$x
        [ "$y" -ge "$top" ] || top=$y
        [ $((x + w)) -le "$right" ] || right=$((x + w))
        [ $((y + h)) -le "$bottom" ] || bottom=$((y + h))
    done
    HULL_X=$left HULL_Y=$top HULL_W=$((right - left)) HULL_H=$((bottom - top))
}
_windows_together

# Where the 1280 x 800 area starts along one side of the usable area (start, length, the
# area's length, the windows' start and length in it): centred, then moved just enough for the
# windows to lie on the screen (the tests use no screen too small for them).
_arrangement_start() {
    local start=$1 length=$2 size=$3 from=$4 extent=$5
    local at=$((start + (length - size) / 2))
    [ "$at" -ge $((start - from)) ] || at=$((start - from))
    [ "$at" -le $((start + length - from - extent)) ] || at=$((start + length - from - extent))
    echo "$at"
}

# Where the game places a scene: "x y w h", in the 1280 x 800 area it was laid out on, which
# lies on the usable screen as above.
scene_rect() {
    local w h x y
    read -r w h <<<"${SCENE_SIZE[$1]}"
    if [ -n "${SCENE_FIXED[$1]:-}" ]; then
        read -r x y <<<"${SCENE_FIXED[$1]}"
    else
        x=$(((1280 - w) / 2))
        y=$(((800 - h) / 2))
    fi
    local ax ay
    ax=$(_arrangement_start "${USABLE_X:-0}" "${USABLE_W:-$SCREEN_W}" 1280 "$HULL_X" "$HULL_W")
    ay=$(_arrangement_start "${USABLE_Y:-0}" "${USABLE_H:-$SCREEN_H}" 800 "$HULL_Y" "$HULL_H")
    echo "$((ax + x)) $((ay + y)) $w $h"
}

# One line per visible window of the game and its subtitles: id x y width height title.
all_game_windows() {
    local id X Y WIDTH HEIGHT geometry
    for id in $(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null); do
        geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        X= Y= WIDTH= HEIGHT=
        eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$' <<<"$geometry")"
        [ -n "$WIDTH" ] || continue
        echo "$id $X $Y $WIDTH $HEIGHT $(xdotool getwindowname "$id" 2>/dev/null)"
    done
}

# The same without the subtitle window, which comes and goes with every clip.
# (A window whose title cannot be read yet, as the subtitles' just being mapped, is left out.)
game_windows() { all_game_windows | grep -v ' Titulky$' | awk 'NF > 5'; }

# The subtitle window's line (id x y width height title), if one is up.
subtitle_window() { all_game_windows | grep ' Titulky$'; }

# The id of the visible game window with exactly this geometry (and title, if given).
window_at() {
    local x=$1 y=$2 w=$3 h=$4 title=${5:-}
    local id wx wy ww wh name
    while read -r id wx wy ww wh name; do
        if [ "$wx $wy $ww $wh" = "$x $y $w $h" ] && { [ -z "$title" ] || [ "$name" = "$title" ]; }; then
            echo "$id"
            return 0
        fi
    done < <(game_windows)
    return 1
}

declare -A SCENE_WINDOW=()
declare -A WX=() WY=()

_scene_window_present() {
    local x y w h id
    read -r x y w h <<<"$(scene_rect "$1")"
    id=$(window_at "$x" "$y" "$w" "$h" "${SCENE_TITLE[$1]:-ORVAL KESK}") || return 1
    SCENE_WINDOW[$1]=$id
    WX[$1]=$x
    WY[$1]=$y
}

# Waits until the scene's window is visible at its place with its size and title.
expect_window() {
    local scene=$1 timeout=${2:-2}
    local rect
    rect=$(scene_rect "$scene")
    log "   expect the $scene window at ${rect// /,} (x,y,w,h)"
    POLL_DESCRIPTION="the $scene window at ${rect// /,}" POLL_SCREENSHOT=no \
        until_true "$timeout" _scene_window_present "$scene"
    log "   $scene window ${SCENE_WINDOW[$scene]} is there"
}

_scene_window_gone() { ! _scene_window_present "$1"; }

expect_no_window() {
    local scene=$1 timeout=${2:-2}
    log "   expect the $scene window to be gone"
    POLL_DESCRIPTION="the $scene window closing" POLL_SCREENSHOT=no \
        until_true "$timeout" _scene_window_gone "$scene"
}

_window_count_is() { [ "$(game_windows | wc -l)" -eq "$1" ]; }

# Waits until the game has exactly $1 visible windows.
expect_window_count() {
    log "   expect exactly $1 visible game window(s)"
    POLL_DESCRIPTION="exactly $1 visible game window(s)" POLL_SCREENSHOT=no \
        until_true "${2:-2}" _window_count_is "$1"
}

# ---- screen pixels -------------------------------------------------------------------------------------

screenshot() {
    "$IMPORT" -window root "$SHOT" 2>/dev/null || fail "cannot take a screenshot"
}

# The colour of a screen pixel in the last screenshot, as RRGGBB.
pixel() {
    "$CONVERT" "$SHOT" -format "%[hex:p{$1,$2}]" info: | cut -c1-6
}

# How many pixels of the screen rectangle x y w h in the last screenshot have exactly colour $5.
count_colour() {
    local x=$1 y=$2 w=$3 h=$4 colour=$5
    "$CONVERT" "$SHOT" -crop "${w}x${h}+${x}+${y}" +repage -alpha off \
        -fill black +opaque "$colour" -fill white -opaque "$colour" \
        -format '%[fx:round(mean*w*h)]' info:
}

# How many pixels of the screen rectangle x y w h differ from picture $5 (region at $6,$7).
picture_difference() {
    local x=$1 y=$2 w=$3 h=$4 file=$5 px=${6:-0} py=${7:-0}
    "$CONVERT" "$SHOT" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "$WORK_DIR/crop.png"
    "$CONVERT" "$PICTURES/$file" -crop "${w}x${h}+${px}+${py}" +repage -alpha off \
        "$WORK_DIR/part.png"
    "$COMPARE" -metric AE "$WORK_DIR/crop.png" "$WORK_DIR/part.png" null: 2>&1 | cut -d' ' -f1
}

# The area of a rectangle that may differ from what is expected: the mouse pointer and a
# stray pixel or two, never a window in the way.
_tolerance() { echo $(($1 * $2 / 200 + 30)); }

_picture_shown() {
    local x=$1 y=$2 w=$3 h=$4 file=$5 px=$6 py=$7 diff
    diff=$(picture_difference "$x" "$y" "$w" "$h" "$file" "$px" "$py")
    POLL_DETAIL="last try: $diff pixels differ, $(_tolerance "$w" "$h") allowed"
    [[ "$diff" =~ ^[0-9]+$ ]] && [ "$diff" -le "$(_tolerance "$w" "$h")" ]
}

# expect_picture SCENE FILE WX WY W H [PX PY]: the scene's window shows, in front of every other
# window, the part PX,PY,W,H of the picture FILE at its window pixel WX,WY.
expect_picture() {
    local scene=$1 file=$2 wx=$3 wy=$4 w=$5 h=$6 px=${7:-0} py=${8:-0}
    local x=$((WX[$scene] + wx)) y=$((WY[$scene] + wy))
    log "   expect $file ($px,$py ${w}x$h) on screen at $x,$y (the $scene window in front there)"
    POLL_DESCRIPTION="$file shown at $x,$y" \
        until_true "${TIMEOUT:-2}" _picture_shown "$x" "$y" "$w" "$h" "$file" "$px" "$py"
}

# The scene's background picture is in front, whole, or the part at window pixels x y w h.
expect_scene_picture() {
    local scene=$1 file ox oy fw fh
    read -r file ox oy <<<"${SCENE_PICTURE[$scene]}"
    read -r fw fh <<<"$("$CONVERT" "$PICTURES/$file" -format '%w %h' info:)"
    local w h
    read -r w h <<<"${SCENE_SIZE[$scene]}"
    # The picture is clipped by the window (the final screen's picture is 3 rows taller).
    [ $((ox + fw)) -le "$w" ] || fw=$((w - ox))
    [ $((oy + fh)) -le "$h" ] || fh=$((h - oy))
    if [ $# -ge 5 ]; then
        expect_picture "$scene" "$file" "$2" "$3" "$4" "$5" $(($2 - ox)) $(($3 - oy))
    else
        expect_picture "$scene" "$file" "$ox" "$oy" "$fw" "$fh" 0 0
    fi
}

_colour_at_least() {
    local n
    n=$(count_colour "$1" "$2" "$3" "$4" "$5")
    LAST_COUNT=$n
    POLL_DETAIL="last try: $n"
    [ "$n" -ge "$6" ]
}

# expect_colour SCENE WX WY W H COLOUR MIN: at least MIN pixels of COLOUR in the window rectangle.
expect_colour() {
    local scene=$1 wx=$2 wy=$3 w=$4 h=$5 colour=$6 min=$7
    local x=$((WX[$scene] + wx)) y=$((WY[$scene] + wy))
    log "   expect >= $min pixels of $colour in $w x $h at $x,$y ($scene)"
    POLL_DESCRIPTION="$min pixels of $colour in $w x $h at $x,$y" \
        until_true "${TIMEOUT:-2}" _colour_at_least "$x" "$y" "$w" "$h" "$colour" "$min"
    log "   found $LAST_COUNT"
}

_pixel_is() {
    local p
    p=$(pixel "$1" "$2")
    POLL_DETAIL="last try: #$p"
    [ "$p" = "$3" ]
}

# expect_pixel SCENE WX WY RRGGBB: the window pixel shows that colour (within ~2 s).
expect_pixel() {
    local scene=$1 wx=$2 wy=$3 colour=$4
    local x=$((WX[$scene] + wx)) y=$((WY[$scene] + wy))
    log "   expect #$colour at $x,$y ($scene $wx,$wy)"
    POLL_DESCRIPTION="#$colour at $x,$y" until_true "${TIMEOUT:-2}" _pixel_is "$x" "$y" "$colour"
}

# ---- input ------------------------------------------------------------------------------------------------

# (Not `mousemove --sync`: it waits many seconds when the pointer is already there.)
move_to() {
    xdotool mousemove "$1" "$2" || fail "xdotool cannot move the pointer to $1,$2"
    local i X Y
    for i in $(seq 1 50); do
        eval "$(xdotool getmouselocation --shell 2>/dev/null | grep -E '^[XY]=[0-9]+$')"
        if [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ]; then break; fi
        sleep 0.02
    done
    [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ] || fail "the pointer is at ${X:-?},${Y:-?}, not $1,$2"
    sleep 0.05
}

click_at() {
    log "   click at $1,$2"
    move_to "$1" "$2"
    sleep 0.1
    xdotool click 1 || fail "xdotool cannot click"
}

# click_in SCENE WX WY: a click at a pixel of the scene's window (window coordinates).
click_in() {
    local scene=$1 wx=$2 wy=$3
    [ -n "${WX[$scene]:-}" ] || fail "internal: the $scene window was never seen"
    log "   click in $scene at $wx,$wy"
    click_at $((WX[$scene] + wx)) $((WY[$scene] + wy))
}

# click_pic SCENE PX PY: a click at a pixel of the scene's background picture (at window 8,40).
click_pic() {
    click_in "$1" $(($2 + 8)) $(($3 + 40))
}

# move_in SCENE WX WY: the pointer to a pixel of the scene's window, no click.
move_in() {
    local scene=$1 wx=$2 wy=$3
    log "   pointer to $scene $wx,$wy"
    move_to $((WX[$scene] + wx)) $((WY[$scene] + wy))
}

_active_is() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }

# press_key KEY: a key press for the focused window (waits until the window $2 has the focus).
press_key() {
    local key=$1 window=${2:-}
    if [ -n "$window" ]; then
        POLL_DESCRIPTION="the keyboard focus on window $window" POLL_SCREENSHOT=no \
            until_true 2 _active_is "$window"
    fi
    log "   key $key"
    xdotool key "$key" || fail "xdotool cannot press $key"
}

# ---- the game's own controls ------------------------------------------------------------------------------

# Lights NOVÁ HRA up (the pointer crosses the background first) and clicks it.
choose_new_game() {
    move_in orval 100 120
    move_in orval 256 70
    expect_pixel orval 180 60 0093DD
    click_in orval 256 70
}

# From the menu through the briefing (Enter on "Začít hru") to the home.
arrive_home() {
    expect_window orval 3
    choose_new_game
    expect_window pribeh
    press_key Return "${SCENE_WINDOW[pribeh]}"
    expect_window doma
}

# From the home to Mr. Brown's documents box: the telephone and the door, the map, the
# headquarters, the warehouse's two crates, the map again, the headquarters, Mr. Brown's head and
# the tape. "$@" SCENE is said of each place as it comes (expect_window, or the stage's on_stage).
to_brown_documents() {
    click_pic doma 496 164
    click_pic doma 152 180
    "$@" mapa
    expect_scene_picture mapa
    click_pic mapa 240 72
    "$@" velitelstvi
    expect_colour velitelstvi 16 40 105 17 '#A9D5F5' 1000
    click_in velitelstvi 60 72
    "$@" sklad
    expect_scene_picture sklad
    click_pic sklad 668 340
    click_pic sklad 572 264
    expect_slot_item 2 item-bug.png
    click_pic sklad 24 250
    expect_scene_picture mapa
    click_pic mapa 240 72
    expect_colour velitelstvi 16 40 105 17 '#A9D5F5' 1000
    click_in velitelstvi 60 48
    "$@" brown
    expect_scene_picture brown
    click_pic brown 632 192
    click_pic brown 548 256
}

# From Mr. Brown's documents box (answered with Enter in window $1) to the conversation with
# Mr. Green: the left edge, the shop on the map, Mr. Green.
to_the_conversation() {
    local box=$1
    shift
    press_key Return "$box"
    expect_message_box_closed DOKUMENTY
    expect_scene_picture brown
    click_pic brown 24 220
    expect_scene_picture mapa
    click_pic mapa 272 216
    "$@" green
    expect_scene_picture green
    click_pic green 624 164
    "$@" rozmluva
}

# A mouse click on "Začít hru": the home with the inventory, the briefing gone.
click_start_game() {
    click_in pribeh 244 344
    expect_window doma
    expect_window inventar
    expect_no_window pribeh
    expect_window_count 2
    expect_scene_picture doma
}

# Inventory slot N (1 to 5): its picture box at window pixel (16 + 96 (N - 1), 40), 94 x 54.
slot_x() { echo $((16 + 96 * ($1 - 1))); }
expect_slot_item() { expect_picture inventar "$2" "$(slot_x "$1")" 40 94 54; }
expect_slot_empty() { expect_colour inventar "$(slot_x "$1")" 40 94 54 '#5FB0ED' $((94 * 54)); }
click_slot() { click_in inventar $(($(slot_x "$1") + 47)) 67; }

# ---- the message box --------------------------------------------------------------------------------------

MESSAGE_WINDOW=

# A title with letters beyond ASCII ("Další den") is stored compound-text encoded, which
# `xdotool search --name` cannot match; the game's own windows are then compared by name.
_message_box_present() {
    local id X Y WIDTH HEIGHT geometry ids
    ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null)
    [ -n "$ids" ] || ids=$(game_windows | awk -v t="$1" '{ id = $1; $1 = $2 = $3 = $4 = $5 = ""
        sub(/^ +/, ""); if ($0 == t) print id }')
    for id in $ids; do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] || continue
        geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
        X= Y= WIDTH= HEIGHT=
        eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9-]+$' <<<"$geometry")"
        [ -n "$WIDTH" ] || continue
        MESSAGE_WINDOW=$id
        MX=$X MY=$Y MW=$WIDTH MH=$HEIGHT
        return 0
    done
    return 1
}

# Waits for the game's message box titled $1: centred, in front, with its blue title bar.
expect_message_box() {
    local title=$1
    log "   expect a message box titled \"$title\""
    POLL_DESCRIPTION="a window titled \"$title\"" POLL_SCREENSHOT=no \
        until_true 2 _message_box_present "$title"
    log "   message box $MESSAGE_WINDOW at $MX,$MY, ${MW}x$MH"
    local cx=$((USABLE_X + (USABLE_W - MW) / 2)) cy=$((USABLE_Y + (USABLE_H - MH) / 2))
    [ "$MX" -eq "$cx" ] && [ "$MY" -eq "$cy" ] ||
        fail "the message box is at $MX,$MY, not centred at $cx,$cy"
    local pid
    pid=$(xprop -id "$MESSAGE_WINDOW" _NET_WM_PID 2>/dev/null | awk '{print $NF}')
    [ "$pid" = "$GAME_PID" ] || fail "the message box belongs to process $pid, not to the game"
    # The title bar: #1174E1 from (1,1), 24 pixels high, with the title in white.
    local bar=$(((MW - 2) * 24))
    POLL_DESCRIPTION="the blue title bar of the message box" \
        until_true 2 _colour_at_least $((MX + 1)) $((MY + 1)) $((MW - 2)) 24 '#1174E1' \
        $((bar * 6 / 10))
    until_true 2 _colour_at_least $((MX + 1)) $((MY + 1)) $((MW - 2)) 24 '#FFFFFF' 20
    log "   title bar: blue with white lettering"
}

expect_message_box_closed() {
    log "   expect the message box to close"
    POLL_DESCRIPTION="the message box closing" POLL_SCREENSHOT=no \
        until_true 2 _message_box_gone "$1"
}
_message_box_gone() { ! _message_box_present "$1"; }
