#!/bin/bash
# The game at 2x on a 2560 x 1600 screen (ORVAL_SCALE=2): the menu twice as large in the middle,
# drawn with the pictures made for 2x, NOVÁ HRA lighting up under the pointer at its doubled
# place and opening the briefing, the home and the inventory at twice their size and place.
# Then 2x asked for by the desktop's Xft.dpi, and a scale that is no number: a clear error, and
# the game at its own size.
source "$(dirname "$0")/lib.sh" "$1"

SCREEN_W=2560
SCREEN_H=1600
SCALE=2

# Where the game places a scene at $SCALE: k times its size at k times its place, the fixed one
# or the middle of the screen in logical pixels.
scene_rect() {
    local w h x y
    read -r w h <<<"${SCENE_SIZE[$1]}"
    w=$((w * SCALE)) h=$((h * SCALE))
    if [ -n "${SCENE_FIXED[$1]:-}" ]; then
        read -r x y <<<"${SCENE_FIXED[$1]}"
        echo "$((x * SCALE)) $((y * SCALE)) $w $h"
    else
        echo "$(((SCREEN_W / SCALE - w / SCALE) / 2 * SCALE)) $(((SCREEN_H / SCALE - h / SCALE) / 2 * SCALE)) $w $h"
    fi
}

start_desktop
export ORVAL_SCALE=2
start_game

step "the menu opens centred at 718 x 454: at 920,572"
expect_window orval 3
expect_window_count 1
[ "${WX[orval]},${WY[orval]}" = "920,572" ] || fail "the menu is at ${WX[orval]},${WY[orval]}"
# The agent's half of the picture and the key cap F1 below it, as drawn for 2x.
expect_picture orval 2x/menu.png 0 0 340 410
expect_picture orval 2x/menu-controls.png 8 414 48 32
save_shot menu

step "pointer on the background: NOVÁ HRA normal, drawn for 2x"
move_in orval 200 240
expect_picture orval 2x/menu-new-game.png 352 112 322 60

step "pointer on NOVÁ HRA at its doubled place (512,140): it lights up"
move_in orval 512 140
expect_picture orval 2x/menu-new-game-lit.png 352 112 322 60
expect_picture orval 2x/menu-about.png 354 224 322 60
save_shot new-game-lit

step "a click there opens the briefing, 902 x 776 in the middle"
click_in orval 512 140
expect_window pribeh
expect_no_window orval
expect_window_count 1
save_shot briefing

step "\"Začít hru\" at its doubled place: the home and the inventory at 1000,24"
click_in pribeh 488 688
expect_window doma
expect_window inventar
expect_picture doma 2x/home.png 16 80 1608 810
[ ! -s "$WORK_DIR/game.log" ] || fail "the game printed: $(cat "$WORK_DIR/game.log")"

step "the X of the home at its doubled place ends the program"
click_in doma 1624 16
expect_exit 3 0

step "without ORVAL_SCALE, the desktop's Xft.dpi of 192 asks for 2x"
unset ORVAL_SCALE
xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER $'Xft.dpi:\t192\n' ||
    fail "cannot set the X resources"
start_game
expect_window orval 3
[ "${WX[orval]},${WY[orval]}" = "920,572" ] || fail "the menu is at ${WX[orval]},${WY[orval]}"
click_in orval 512 366
expect_exit 3 0

step "ORVAL_SCALE=big: a clear error, and the menu at its own size in the middle"
export ORVAL_SCALE=big
SCALE=1
start_game
expect_window orval 3
[ "${WX[orval]},${WY[orval]}" = "1100,686" ] || fail "the menu is at ${WX[orval]},${WY[orval]}"
grep -q 'ORVAL_SCALE="big" is not a whole number from 1 to 4' "$WORK_DIR/game.log" ||
    fail "no clear error; the game printed: $(cat "$WORK_DIR/game.log")"
click_in orval 256 183
expect_exit 3 0
