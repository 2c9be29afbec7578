#!/bin/bash
# From the main menu into play in real windows: the credits with the maker's link and back,
# the briefing, and its start button by keyboard and by mouse, which open the home and the
# inventory.
source "$(dirname "$0")/lib.sh" "$1"

# The briefing is open, centred, with its navy title and text, and the menu is gone.
expect_briefing() {
    expect_window pribeh
    expect_no_window orval
    expect_window_count 1
    # "Příběh" in 24 pt bold italic navy, then four paragraphs of navy text.
    expect_colour pribeh 168 8 113 33 '#000080' 150
    expect_colour pribeh 16 48 425 281 '#000080' 1000
    # The rest is the plain light azure of the scene.
    expect_pixel pribeh 5 5 5FB0ED
    expect_pixel pribeh 440 300 5FB0ED
}

# After "Začít hru": the home in the middle, the inventory at its place, nothing else.
expect_play_started() {
    expect_window doma
    expect_window inventar
    expect_no_window pribeh
    expect_window_count 2
    expect_scene_picture doma
    # The empty inventory: the title in blue, five empty slots in the scene colour.
    expect_colour inventar 192 0 129 25 '#0000FF' 60
    expect_colour inventar 16 40 478 54 '#5FB0ED' $((478 * 54 - 2 * 54))
    # Its frame: a one-pixel #1174E1 outline at 8,32, 497 x 73.
    expect_pixel inventar 8 32 1174E1
    expect_pixel inventar 504 104 1174E1
    expect_pixel inventar 250 32 1174E1
}

start_desktop
start_game
expect_window orval 3

step "O ORVAL KESK opens the credits, 583 x 525 in the middle, in front of the menu"
move_in orval 100 120
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

step "the maker's logo opens the web address through xdg-open"
click_in about 500 500
_url_logged() { [ "$(grep -c . "$URL_LOG" 2>/dev/null)" -ge "$1" ]; }
POLL_DESCRIPTION="xdg-open called" POLL_SCREENSHOT=no until_true 2 _url_logged 1
[ "$(sed -n 1p "$URL_LOG")" = "https://orval-kesk.example.org" ] ||
    fail "xdg-open got \"$(sed -n 1p "$URL_LOG")\""
log "   xdg-open got $(sed -n 1p "$URL_LOG")"
expect_window about

step "the address above the logo opens it too"
click_in about 470 460
POLL_DESCRIPTION="a second xdg-open call" POLL_SCREENSHOT=no until_true 2 _url_logged 2
[ "$(sed -n 2p "$URL_LOG")" = "https://orval-kesk.example.org" ] ||
    fail "xdg-open got \"$(sed -n 2p "$URL_LOG")\""
expect_window about

step "OK closes the credits: the menu is back"
click_in about 296 504
expect_no_window about
expect_window_count 1
expect_scene_picture orval 0 0 170 227
expect_pixel orval 180 100 007CC3

step "NOVÁ HRA opens the briefing (451 x 388, centred) and closes the menu"
choose_new_game
expect_briefing
save_shot briefing

step "Enter presses \"Začít hru\": the home (822 x 454, centred) and the inventory at 500,12"
press_key Return "${SCENE_WINDOW[pribeh]}"
expect_play_started
save_shot home

step "the X of the home ends the program"
click_in doma 812 8
expect_exit 3 0

step "once more, with a mouse click on \"Začít hru\""
start_game
expect_window orval 3
choose_new_game
expect_briefing
click_in pribeh 244 344
expect_play_started

step "the X of the home ends the program"
click_in doma 812 8
expect_exit 3 0
