#!/bin/bash
# The stage: the whole game inside one window. On a 1280 x 800 screen the menu, the home with
# the inventory and Mr. Brown's documents box look exactly as the desktop's own windows do
# there; fullscreen the game is one window, played to its end by clicks at stage pixels; F11
# leaves and re-enters fullscreen; Ctrl+Tab brings a covered window forward.
source "$(dirname "$0")/lib.sh" "$1"
SCREEN_W=1280
SCREEN_H=800

# The windows of the moment, as the desktop placed them: "x y w h" lines.
declare -A SAVED_RECTS=()
save_state() {
    local name=$1
    screenshot
    cp "$SHOT" "$WORK_DIR/desktop-$name.png"
    cp "$SHOT" "$SHOT_DIR/$TEST_NAME-desktop-$name.png"
    SAVED_RECTS[$name]=$(game_windows | awk '{ print $2, $3, $4, $5 }')
    log "   desktop windows of $name: $(tr '\n' ';' <<<"${SAVED_RECTS[$name]}")"
}

# Every window of the desktop state $1 shows the same pixels on the stage now.
expect_same_as_desktop() {
    local name=$1 x y w h diff
    screenshot
    while read -r x y w h; do
        "$CONVERT" "$WORK_DIR/desktop-$name.png" -crop "${w}x${h}+${x}+${y}" +repage -alpha off \
            "$WORK_DIR/desk.png"
        "$CONVERT" "$SHOT" -crop "${w}x${h}+${x}+${y}" +repage -alpha off "$WORK_DIR/stage.png"
        diff=$("$COMPARE" -metric AE "$WORK_DIR/desk.png" "$WORK_DIR/stage.png" null: 2>&1 |
            cut -d' ' -f1)
        log "   $name: the window at $x,$y (${w}x$h): $diff pixels differ"
        [ "$diff" = 0 ] || fail "on the stage the $name window at $x,$y differs in $diff pixels"
    done <<<"${SAVED_RECTS[$name]}"
}

# On the stage a scene is no window of its own: it lies where a 1280 x 800 desktop puts it.
on_stage() {
    local x y w h
    read -r x y w h <<<"$(USABLE_X=0 USABLE_Y=0 USABLE_W=1280 USABLE_H=800 scene_rect "$1")"
    WX[$1]=$((STAGE_X + x))
    WY[$1]=$((STAGE_Y + y))
}
STAGE_X=0
STAGE_Y=0

start_desktop

step "desktop windows on a 1280 x 800 screen: the menu, the home, the documents box"
move_to 5 5  # over no window, so that no menu entry lights up
ORVAL_SCALE=1 start_game
expect_window orval 3
save_state menu
choose_new_game
expect_window pribeh
press_key Return "${SCENE_WINDOW[pribeh]}"
expect_window doma
expect_window inventar
expect_scene_picture doma
save_state home
to_brown_documents expect_window
expect_message_box DOKUMENTY
save_state documents
stop_pid "$GAME_PID"
GAME_PID=

step "the stage fullscreen at scale 1: one window of the game, covering the screen"
GAME_ARGS=(--fullscreen)
move_to 5 5
ORVAL_SCALE=1 start_game
on_stage orval
expect_colour orval 0 0 60 60 "#B8E0F8" 3000
read -r count <<<"$(xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | wc -l)"
[ "$count" -eq 1 ] || fail "the stage maps $count windows, not one"
STAGE_WINDOW=$(xdotool search --onlyvisible --pid "$GAME_PID")
geometry=$(xwininfo -id "$STAGE_WINDOW" | grep -E 'Absolute|Width|Height' | awk '{print $NF}' |
    tr '\n' ' ')
log "   the stage window: $geometry"
[ "$geometry" = "0 0 1280 800 " ] || fail "the fullscreen stage lies at $geometry"
expect_same_as_desktop menu

step "the stage: the home with the inventory, as on the desktop"
choose_new_game
on_stage pribeh
expect_colour pribeh 168 8 113 33 '#000080' 150
press_key Return "$STAGE_WINDOW"
on_stage doma
on_stage inventar
expect_scene_picture doma
expect_pixel inventar 8 32 1174E1
expect_same_as_desktop home

step "the stage: Mr. Brown's documents box, as on the desktop"
to_brown_documents on_stage
sleep 0.5
expect_same_as_desktop documents
press_key Return "$STAGE_WINDOW"
expect_scene_picture brown

step "F11 leaves fullscreen and comes back"
fullscreen() { xprop -id "$STAGE_WINDOW" _NET_WM_STATE | grep -q _NET_WM_STATE_FULLSCREEN; }
not_fullscreen() { ! fullscreen; }
press_key F11 "$STAGE_WINDOW"
POLL_DESCRIPTION="the stage in a window" POLL_SCREENSHOT=no until_true 2 not_fullscreen
save_shot windowed
press_key F11 "$STAGE_WINDOW"
POLL_DESCRIPTION="the stage fullscreen again" POLL_SCREENSHOT=no until_true 2 fullscreen
expect_scene_picture brown

step "the stage: the map over Mr. Brown; Ctrl+Tab brings the covered rooms forward"
click_pic brown 24 220
on_stage mapa
expect_scene_picture mapa
# Furthest back lie the inventory, then the home (the home was clicked after the inventory came),
# then the warehouse.
press_key ctrl+Tab "$STAGE_WINDOW"
press_key ctrl+Tab "$STAGE_WINDOW"
on_stage doma
expect_scene_picture doma
press_key ctrl+Tab "$STAGE_WINDOW"
press_key ctrl+Tab "$STAGE_WINDOW"
press_key ctrl+Tab "$STAGE_WINDOW"
expect_scene_picture mapa

step "the stage: the shop, the conversation, the bank, the second call, the villa"
click_pic mapa 272 216
on_stage green
expect_scene_picture green
click_pic green 624 164
on_stage rozmluva
expect_pixel rozmluva 230 5 A9D5F5
click_in rozmluva 120 20
expect_slot_item 3 item-meat.png
click_in rozmluva 96 84
click_in rozmluva 72 112
expect_scene_picture green
click_pic green 28 232
expect_scene_picture mapa
click_pic mapa 344 88
on_stage banka
expect_scene_picture banka
click_pic banka 500 220
click_pic banka 36 200
expect_scene_picture mapa
click_pic mapa 128 160
expect_scene_picture doma
click_pic doma 492 216
click_pic doma 496 164
click_pic doma 152 180
expect_scene_picture mapa
click_pic mapa 344 88
expect_scene_picture banka
click_pic banka 500 220
click_pic banka 36 200
expect_scene_picture mapa
click_pic mapa 368 312
on_stage vila
expect_scene_picture vila
click_pic vila 548 340

step "the stage: the night passes in the box; the dog, the meat, Mr. Black, the arrest"
click_slot 2
sleep 0.5
press_key Return "$STAGE_WINDOW"
expect_slot_item 5 item-cassette.png
click_pic vila 364 120
on_stage pes
expect_scene_picture pes
click_pic pes 500 300
click_slot 3
expect_picture pes dog-eating.png 280 229 120 128
click_pic pes 450 100
on_stage black
expect_scene_picture black
click_pic black 412 84
click_slot 5
expect_slot_item 1 item-pistol.png
click_slot 1

step "the stage: the final screen, the credits and the end"
on_stage win
TIMEOUT=25 expect_scene_picture win
click_in win 168 504
on_stage about
expect_scene_picture about 0 0 583 450
click_in about 296 504
expect_exit 3 0
