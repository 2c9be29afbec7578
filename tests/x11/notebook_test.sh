#!/bin/bash
# The notebook and the hints in real windows, spoken: in the ringing home F2 three times opens
# the notebook over the home with the hint's three steps, the last naming the telephone, and
# --speak reads each aloud through a stand-in speech-dispatcher; Escape closes the notebook.
source "$(dirname "$0")/lib.sh" "$1"

SPOKEN=$WORK_DIR/spoken.txt
/usr/bin/python3 "$(dirname "$0")/speechd_stand_in.py" "$WORK_DIR/speechd.sock" "$SPOKEN" \
    >"$WORK_DIR/speechd.log" 2>&1 &
SPEECHD_PID=$!
# The stand-in goes with the rest, and the test's status is kept for cleanup to report.
speechd_exit() {
    local status=$?
    stop_pid "$SPEECHD_PID"
    (exit "$status")
    cleanup
}
trap speechd_exit EXIT
export SPEECHD_ADDRESS="unix_socket:$WORK_DIR/speechd.sock"

# The stand-in's last line is $1, spoken once (the names the pointer passes over come between).
_spoken() {
    local count last
    count=$(grep -cxF -- "$1" "$SPOKEN" 2>/dev/null || true)
    last=$(tail -n 1 "$SPOKEN" 2>/dev/null)
    POLL_DETAIL="said $count times, the last line \"$last\""
    [ "$count" = 1 ] && [ "$last" = "$1" ]
}
expect_spoken() {
    log "   expect spoken: $1"
    POLL_DESCRIPTION="spoken once, last" POLL_SCREENSHOT=no until_true 3 _spoken "$1"
}

# The notebook's window is there, over the middle of the home's.
_notebook_over_home() {
    _message_box_present Zápisník || return 1
    local hx hy hw hh
    read -r hx hy hw hh <<<"$(scene_rect doma)"
    POLL_DETAIL="the notebook at $MX,$MY ${MW}x$MH, the home at $hx,$hy ${hw}x$hh"
    [ $((MX + MW / 2 - hx - hw / 2)) -le 1 ] && [ $((hx + hw / 2 - MX - MW / 2)) -le 1 ] &&
        [ $((MY + MH / 2 - hy - hh / 2)) -le 1 ] && [ $((hy + hh / 2 - MY - MH / 2)) -le 1 ]
}

GAME_ARGS=(--speak)
start_desktop
start_game
arrive_home

step "F2 in the ringing home: the notebook opens over it with the first step, spoken"
sleep 0.3
press_key F2
POLL_DESCRIPTION="the notebook over the home" until_true 2 _notebook_over_home
expect_spoken "cs	Doma něco zvoní. Někdo vás shání."

step "F2 twice more: the place and the thing, then the telephone named"
press_key F2 "$MESSAGE_WINDOW"
expect_spoken "cs	Kde a co: doma, telefon na poličce."
press_key F2 "$MESSAGE_WINDOW"
expect_spoken "cs	Zvedněte telefon doma."
save_shot notebook-hint

step "Escape closes the notebook; the game goes on"
press_key Escape "$MESSAGE_WINDOW"
expect_message_box_closed Zápisník
click_pic doma 496 164
click_pic doma 152 180
expect_window mapa
