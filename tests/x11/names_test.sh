#!/bin/bash
# The name line in real windows: the pointer resting on the telephone of the home shows
# "Použít: telefon" on a pale plate just below it, leaving it takes the plate away, and the
# focus mark brought there with Tab shows it again; L hides it.
source "$(dirname "$0")/lib.sh" "$1"

# The telephone lies at window pixels 464,184 (81 x 41); its plate below it, 6 pixels off, framed
# in deep azure on the game's pale azure.
expect_plate() {
    expect_pixel doma 504 231 1174E1
    expect_pixel doma 504 232 A9D5F5
}
_no_plate() {
    local p
    p=$(pixel "$1" "$2")
    POLL_DETAIL="last try: #$p"
    [ "$p" != A9D5F5 ]
}
expect_no_plate() {
    local x=$((WX[doma] + 504)) y=$((WY[doma] + 232))
    log "   expect no name line at $x,$y"
    POLL_DESCRIPTION="no name line at $x,$y" until_true 2 _no_plate "$x" "$y"
}

start_desktop
start_game
arrive_home
expect_window inventar

step "The pointer rests on the telephone: its name line shows below it"
expect_no_plate
move_in doma 504 204
expect_plate
save_shot telephone-named

step "The pointer leaves it: the line goes"
move_in doma 300 420
expect_no_plate

step "Tab twice (the exit, then the telephone): the line shows with the ring"
# The keys reach the place from whichever of its windows holds the focus, the inventory too.
sleep 0.3
press_key Tab
press_key Tab
expect_plate
save_shot telephone-marked

step "L hides the line, and L brings it back"
press_key l
expect_no_plate
press_key l
expect_plate

log "PASS"
