#!/bin/bash
# A request to quit is never lost: SIGTERM while Mr. Brown's documents box holds the game ends
# it at once and cleanly, with status 0 as "X" does.
source "$(dirname "$0")/lib.sh" "$1"

start_desktop
start_game
arrive_home

step "home, map, headquarters, Mr. Brown, his head, then the documents box"
click_pic doma 496 164
click_pic doma 152 180
expect_window mapa
click_pic mapa 240 72
expect_window velitelstvi
click_in velitelstvi 60 48
expect_window brown
click_pic brown 632 192
click_pic brown 548 256
expect_message_box DOKUMENTY

step "SIGTERM while the box is open"
kill -TERM "$GAME_PID"
expect_exit 5 0
