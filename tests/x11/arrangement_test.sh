#!/bin/bash
# One arrangement on any screen: the windows at fixed places (the inventory, the headquarters,
# the conversation) keep their places beside the centred scenes as on the 1280 x 800 screen the
# game was laid out on. On a wide 5120 x 1440 and a tall 1080 x 1920 screen the conversation
# opens over the shop and the inventory just above the home, as on 1280 x 800. On 800 x 600,
# where the windows cannot lie together, the game starts on the stage by itself, scaled down,
# says so on stderr, and is played there; ORVAL_STAGE=0 still gives desktop windows. A stage in
# a window lies on the screen with its frame (800 x 600, and 1280 x 800 with --stage); with no
# window manager at all, --fullscreen fills the screen (and again after F11 twice).
source "$(dirname "$0")/lib.sh" "$1"

# Where window $1 lies from window $2, as "dx dy" in OFFSET, read from the windows the desktop
# shows; a window missing from one listing (the desktop restacking it) is looked for again.
_offset_read() {
    local x1 y1 x2 y2
    read -r _ x1 y1 _ <<<"$(game_windows | awk -v id="${SCENE_WINDOW[$1]}" '$1 == id')"
    read -r _ x2 y2 _ <<<"$(game_windows | awk -v id="${SCENE_WINDOW[$2]}" '$1 == id')"
    [ -n "$x1" ] && [ -n "$x2" ] || return 1
    OFFSET="$((x1 - x2)) $((y1 - y2))"
}
offset() {
    POLL_DESCRIPTION="the $1 and the $2 window both on the screen" POLL_SCREENSHOT=no \
        until_true 2 _offset_read "$1" "$2"
}

declare -A LAID_OUT=()
# The offset of window $1 from window $2 is what it was on 1280 x 800 (noted there).
expect_beside() {
    local now
    offset "$1" "$2"
    now=$OFFSET
    log "   $1 from $2: $now"
    if [ -z "${LAID_OUT[$1-$2]:-}" ]; then
        LAID_OUT[$1-$2]=$now
    elif [ "$now" != "${LAID_OUT[$1-$2]}" ]; then
        fail "on $SCREEN_W x $SCREEN_H the $1 window lies at $now from the $2 window, not at" \
            "${LAID_OUT[$1-$2]} as on 1280 x 800"
    fi
}

for screen in 1280x800 5120x1440 1080x1920; do
    SCREEN_W=${screen%x*}
    SCREEN_H=${screen#*x}
    start_desktop
    move_to 5 5
    ORVAL_SCALE=1 start_game

    step "$screen: the home, the inventory just above it"
    arrive_home
    expect_window inventar
    expect_scene_picture doma
    expect_pixel inventar 8 32 1174E1
    expect_beside inventar doma

    step "$screen: the headquarters over the map, Mr. Brown's documents"
    to_brown_documents expect_window
    expect_message_box DOKUMENTY

    step "$screen: the conversation over the shop"
    to_the_conversation "$MESSAGE_WINDOW" expect_window
    # In front of the shop, its lines in deep azure.
    expect_colour rozmluva 8 8 225 17 '#1174E1' 40
    expect_beside rozmluva green
    expect_beside inventar green
    save_shot "$screen-conversation"
    stop_desktop
done

step "800x600: the game starts on the stage by itself, scaled down to fit"
SCREEN_W=800
SCREEN_H=600
start_desktop
move_to 5 5
ORVAL_SCALE=1 start_game
one_stage_window() {
    local ids
    ids=$(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null)
    POLL_DETAIL="windows: $(wc -w <<<"$ids")"
    [ "$(wc -w <<<"$ids")" -eq 1 ] || return 1
    STAGE_WINDOW=$ids
    read -r STAGE_X STAGE_Y STAGE_W STAGE_H <<<"$(xwininfo -id "$STAGE_WINDOW" |
        awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
             /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }')"
    # The menu's light blue in the middle of the scaled-down stage.
    [ "$(count_colour "$((STAGE_X + STAGE_W / 2 - 40))" "$((STAGE_Y + STAGE_H / 2 - 40))" 80 80 \
        '#B8E0F8')" -gt 1000 ]
}
# The stage's window and the frame the window manager gave it lie on the usable area.
_framed_on_screen() {
    local left right top bottom
    read -r left right top bottom <<<"$(xprop -id "$STAGE_WINDOW" _NET_FRAME_EXTENTS |
        sed -n 's/^[^=]*= *//p' | tr -d ',')"
    POLL_DETAIL="the window at $STAGE_X,$STAGE_Y, ${STAGE_W}x$STAGE_H, its frame $left $right $top $bottom (left right top bottom)"
    [ -n "$bottom" ] && [ $((STAGE_X - left)) -ge "$USABLE_X" ] &&
        [ $((STAGE_Y - top)) -ge "$USABLE_Y" ] &&
        [ $((STAGE_X + STAGE_W + right)) -le $((USABLE_X + USABLE_W)) ] &&
        [ $((STAGE_Y + STAGE_H + bottom)) -le $((USABLE_Y + USABLE_H)) ]
}
expect_stage_on_screen() {
    POLL_DESCRIPTION="one window, the stage, showing the menu" until_true 3 one_stage_window
    POLL_DESCRIPTION="the stage with its frame on the usable area" POLL_SCREENSHOT=no \
        until_true 2 _framed_on_screen
    log "   $POLL_DETAIL"
}
expect_stage_on_screen
[ "$STAGE_W" -le "$SCREEN_W" ] && [ "$STAGE_H" -le "$SCREEN_H" ] ||
    fail "the stage (${STAGE_W}x$STAGE_H) does not fit the screen"
[ "$STAGE_W" -lt 1280 ] || fail "the stage is not scaled down: ${STAGE_W}x$STAGE_H"
grep -q 'starts on the stage' "$WORK_DIR/game.log" || fail "the game does not say it is on the stage"
[ "$(grep -c . "$WORK_DIR/game.log")" -eq 1 ] || fail "more than one line on stderr"
log "   the game says: $(cat "$WORK_DIR/game.log")"
save_shot 800x600-stage

step "800x600: NOVÁ HRA, clicked on the scaled-down stage, opens the briefing there"
# A point of the stage, 1280 x 800 logical pixels, in the stage window's pixels.
stage_point() {
    echo "$((STAGE_X + $1 * STAGE_W / 1280)) $((STAGE_Y + $2 * STAGE_H / 800))"
}
read -r mx my w h <<<"$(USABLE_X=0 USABLE_Y=0 USABLE_W=1280 USABLE_H=800 scene_rect orval)"
read -r x y <<<"$(stage_point $((mx + 100)) $((my + 120)))"
move_to "$x" "$y"
read -r x y <<<"$(stage_point $((mx + 256)) $((my + 70)))"
click_at "$x" "$y"
read -r px py w h <<<"$(USABLE_X=0 USABLE_Y=0 USABLE_W=1280 USABLE_H=800 scene_rect pribeh)"
read -r x y <<<"$(stage_point $((px + 168)) $((py + 8)))"
# The briefing's navy title, scaled down.
POLL_DESCRIPTION="the briefing's title on the stage" \
    until_true 3 _colour_at_least "$x" "$y" 70 20 '#000080' 40
save_shot 800x600-briefing
stop_desktop

step "800x600 with ORVAL_STAGE=0: desktop windows all the same"
start_desktop
move_to 5 5
start_menu_windows() {
    local id x y w h name
    while read -r id x y w h name; do
        [ "$w $h" = "359 227" ] && return 0
    done < <(game_windows)
    return 1
}
ORVAL_STAGE=0 ORVAL_SCALE=1 start_game
POLL_DESCRIPTION="the menu as a window of its own" POLL_SCREENSHOT=no \
    until_true 3 start_menu_windows
[ ! -s "$WORK_DIR/game.log" ] || fail "the game said something: $(cat "$WORK_DIR/game.log")"
stop_pid "$GAME_PID"
GAME_PID=
stop_desktop

step "1280x800 with --stage: the stage in a window, with its frame, on the screen"
SCREEN_W=1280
SCREEN_H=800
start_desktop
move_to 5 5
GAME_ARGS=(--stage)
ORVAL_SCALE=1 start_game
expect_stage_on_screen
save_shot 1280x800-stage
stop_desktop
GAME_ARGS=()

step "1280x1024 with no window manager: --fullscreen fills the screen, also after F11 twice"
SCREEN_W=1280
SCREEN_H=1024
ORVAL_TEST_WM=none start_desktop
move_to 5 5
GAME_ARGS=(--fullscreen)
ORVAL_SCALE=1 start_game
# The window covers the screen; the menu lies in the middle of the screen, and the dark around
# the stage reaches down to the screen's last rows.
fills_screen() {
    one_stage_window || return 1
    POLL_DETAIL="the stage window at $STAGE_X,$STAGE_Y, ${STAGE_W}x$STAGE_H"
    [ "$STAGE_X $STAGE_Y $STAGE_W $STAGE_H" = "0 0 1280 1024" ] || return 1
    local x y
    read -r x y _ <<<"$(scene_rect orval)"
    [ "$(count_colour "$x" "$y" 60 60 '#B8E0F8')" -gt 3000 ] || return 1
    POLL_DETAIL="$POLL_DETAIL, $(count_colour 0 1004 1280 20 '#101018') dark pixels at the bottom"
    [ "$(count_colour 0 1004 1280 20 '#101018')" -eq $((1280 * 20)) ]
}
in_window() {
    one_stage_window || return 1
    POLL_DETAIL="the stage window at $STAGE_X,$STAGE_Y, ${STAGE_W}x$STAGE_H"
    [ "$STAGE_X $STAGE_Y $STAGE_W $STAGE_H" = "0 112 1280 800" ]
}
POLL_DESCRIPTION="the stage filling the screen" until_true 3 fills_screen
save_shot fullscreen-without-window-manager
# Without a window manager no window is "active": the key goes where the game took the focus.
log "   key F11"
xdotool key F11
POLL_DESCRIPTION="the stage in a window" until_true 3 in_window
log "   key F11"
xdotool key F11
POLL_DESCRIPTION="the stage filling the screen again" until_true 3 fills_screen
stop_desktop
GAME_ARGS=()
