#!/bin/bash
# The main menu in a real window: placed in the middle of the screen, drawn with its picture,
# entries lighting up under the pointer, the credits with the maker's link, and KONEC ending
# the program; then a second game started with a mouse click on "Začít hru".
source "$(dirname "$0")/lib.sh" "$1"

start_desktop
start_game

step "the menu opens centred on the screen: 359 x 227 at 460,398"
expect_window orval 3
expect_window_count 1
[ "${WX[orval]},${WY[orval]}" = "460,398" ] || fail "the menu is at ${WX[orval]},${WY[orval]}"

step "the screen shows the menu picture exactly there"
# The agent's half of the picture has no entries over it; the key cap F1 lies in its lower
# left corner.
expect_scene_picture orval 0 0 170 205
expect_picture orval menu-controls.png 4 207 24 16
# The dark panel behind the entries (#007CC3), at its corners and between the entries.
for spot in "176 12" "348 12" "180 100" "258 155" "176 214" "348 214" "250 210"; do
    read -r px py <<<"$spot"
    expect_pixel orval "$px" "$py" 007CC3
done
# Nothing of the menu outside its 359 x 227 pixels: the bare screen around it is black.
for spot in "459 398" "460 397" "819 624" "818 625" "459 624" "819 398"; do
    read -r sx sy <<<"$spot"
    [ "$(pixel "$sx" "$sy")" = 000000 ] || fail "screen pixel $sx,$sy is #$(pixel "$sx" "$sy")"
done
save_shot menu

step "pointer on the menu background: all three entries normal (#75C5F0)"
move_in orval 100 120
expect_picture orval menu-new-game.png 176 56 161 30
expect_picture orval menu-about.png 177 112 161 30
expect_picture orval menu-end.png 176 168 161 30
expect_pixel orval 180 60 75C5F0
expect_pixel orval 181 116 75C5F0
expect_pixel orval 180 172 75C5F0

step "pointer on NOVÁ HRA: it lights up (#0093DD), the others stay normal"
move_in orval 256 70
expect_picture orval menu-new-game-lit.png 176 56 161 30
expect_colour orval 176 56 161 30 '#0093DD' 3000
expect_picture orval menu-about.png 177 112 161 30
expect_picture orval menu-end.png 176 168 161 30
save_shot new-game-lit

step "pointer back on the background: NOVÁ HRA is normal again"
move_in orval 100 120
expect_picture orval menu-new-game.png 176 56 161 30
expect_pixel orval 180 60 75C5F0
expect_pixel orval 330 80 75C5F0

step "between two entries (background): no entry lit"
move_in orval 256 70
expect_pixel orval 180 60 0093DD
move_in orval 256 100
expect_pixel orval 180 60 75C5F0
expect_pixel orval 181 116 75C5F0

step "O ORVAL KESK opens the credits, 583 x 525 in the middle, in front of the menu"
move_in orval 256 126
expect_pixel orval 181 116 0093DD
click_in orval 256 126
expect_window about
expect_window orval
expect_window_count 2
# The credits picture (above the maker's logo and address) and the logo itself.
expect_scene_picture about 0 0 583 450
expect_picture about logo.png 428 468 153 57
save_shot credits

step "the maker's logo, then the address above it, open the web address through xdg-open"
_url_logged() { [ "$(grep -c . "$URL_LOG" 2>/dev/null)" -ge "$1" ]; }
n=0
for spot in "500 500" "470 460"; do
    n=$((n + 1))
    click_in about $spot
    POLL_DESCRIPTION="xdg-open call $n" POLL_SCREENSHOT=no until_true 2 _url_logged "$n"
    [ "$(sed -n "${n}p" "$URL_LOG")" = "https://orval-kesk.example.org" ] ||
        fail "xdg-open got \"$(sed -n "${n}p" "$URL_LOG")\""
    expect_window about
done

step "OK closes the credits: the menu is back"
click_in about 296 504
expect_no_window about
expect_window_count 1
expect_scene_picture orval 0 0 170 205

step "KONEC lights up under the pointer and a click on it ends the program"
move_in orval 256 183
expect_picture orval menu-end-lit.png 176 168 161 30
click_in orval 256 183
expect_exit 3 0

step "a second game: NOVÁ HRA, then a mouse click on \"Začít hru\""
start_game
expect_window orval 3
choose_new_game
expect_window pribeh
click_start_game

step "the X of the home ends the program"
click_in doma 812 8
expect_exit 3 0
