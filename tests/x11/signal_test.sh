#!/bin/bash
# A request to quit is never lost: SIGTERM, SIGINT or SIGHUP in the first milliseconds of the
# program ends it within a second, with status 0 once the game has taken the signals over (before
# that only the system's own kill can end it); SIGTERM while Mr. Brown's documents box holds the
# game ends it at once and cleanly, with status 0 as "X" does.
source "$(dirname "$0")/lib.sh" "$1"

start_desktop

# Whether the game's first thread holds the quit signals back for the game to take.
signals_taken() {
    [ "$(readlink "/proc/$GAME_PID/exe" 2>/dev/null)" = "$ORVAL_GAME" ] || return 1
    local mask
    mask=$(awk '/^SigBlk:/ { print $2 }' "/proc/$GAME_PID/status" 2>/dev/null)
    [ -n "$mask" ] && [ $((0x$mask >> 14 & 1)) -eq 1 ]  # bit 14: SIGTERM
}

step "a signal 0 to 30 ms after the start"
declare -A KILLED_STATUS=([TERM]=143 [INT]=130 [HUP]=129)
SIGNALS=(TERM INT HUP)
taken_runs=0
for delay in $(seq 0 30); do
    signal=${SIGNALS[$((delay % 3))]}
    start_game
    sleep "$(printf '0.%03d' "$delay")"
    taken=no
    if signals_taken; then taken=yes; fi
    kill -"$signal" "$GAME_PID"
    sent=$(now_ms)
    while game_running && [ $(($(now_ms) - sent)) -le 1000 ]; do sleep 0.02; done
    game_running && fail "SIG$signal $delay ms after the start: the game still runs a second later"
    wait "$GAME_PID"
    status=$?
    took=$(($(now_ms) - sent))
    GAME_PID=
    log "   SIG$signal after $delay ms (taken over: $taken): status $status, ended ${took} ms later"
    if [ "$taken" = yes ]; then
        taken_runs=$((taken_runs + 1))
        [ "$status" -eq 0 ] || fail "SIG$signal came after the game took it over: status $status"
    else
        [ "$status" -eq 0 ] || [ "$status" -eq "${KILLED_STATUS[$signal]}" ] ||
            fail "SIG$signal before the takeover: status $status"
    fi
done
log "   $taken_runs of 31 signals came after the takeover"
[ "$taken_runs" -gt 0 ] || fail "no signal came after the takeover: the loop tried nothing"

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
