#!/bin/bash
# The game without a mouse in real windows: Tab puts the focus mark on NOVÁ HRA and the pointer
# with it, Enter starts the game, Tab and Enter answer the telephone of the home, the left arrow
# takes the mark to the door and Enter opens the map, where Tab and the down arrow go from the
# headquarters home. The ring of the mark is drawn around the hotspot it stands on, and the next
# move of the mouse takes it away.
source "$(dirname "$0")/lib.sh" "$1"

# The pointer is on the screen pixel x,y.
_pointer_at() {
    local X Y
    eval "$(xdotool getmouselocation --shell 2>/dev/null | grep -E '^[XY]=[0-9]+$')"
    POLL_DETAIL="the pointer is at ${X:-?},${Y:-?}"
    [ "${X:-}" = "$1" ] && [ "${Y:-}" = "$2" ]
}

# expect_pointer SCENE WX WY: the pointer lies on that pixel of the scene's window.
expect_pointer() {
    local x=$((WX[$1] + $2)) y=$((WY[$1] + $3))
    log "   expect the pointer at $x,$y ($1 $2,$3)"
    POLL_DESCRIPTION="the pointer at $x,$y" POLL_SCREENSHOT=no until_true 2 _pointer_at "$x" "$y"
}

# expect_ring SCENE X Y W H: the mark's ring around the hotspot at window pixels X,Y,W,H: dark,
# white, white and dark again from four pixels left of its middle row inwards.
expect_ring() {
    local scene=$1 x=$2 y=$3 h=$5
    local middle=$((y + h / 2))
    expect_pixel "$scene" $((x - 4)) "$middle" 1F1A17
    expect_pixel "$scene" $((x - 3)) "$middle" FFFFFF
    expect_pixel "$scene" $((x - 2)) "$middle" FFFFFF
    expect_pixel "$scene" $((x - 1)) "$middle" 1F1A17
}

# expect_no_ring SCENE X Y W H: no ring there any more.
_pixel_is_not() {
    local p
    p=$(pixel "$1" "$2")
    POLL_DETAIL="last try: #$p"
    [ "$p" != "$3" ]
}
expect_no_ring() {
    local x=$((WX[$1] + $2 - 3)) y=$((WY[$1] + $3 + $5 / 2))
    log "   expect no ring left of $1 $2,$3"
    POLL_DESCRIPTION="no ring at $x,$y" until_true 2 _pixel_is_not "$x" "$y" FFFFFF
}

start_desktop
start_game

step "Tab on the menu: the mark and the pointer on NOVÁ HRA, which lights up"
expect_window orval 3
press_key Tab "${SCENE_WINDOW[orval]}"
expect_pointer orval 256 71
expect_pixel orval 180 60 0093DD
expect_ring orval 176 56 161 30
save_shot menu-marked

step "Enter starts a new game; on the story Enter presses Začít hru"
press_key Return
expect_window pribeh
press_key Return "${SCENE_WINDOW[pribeh]}"
expect_window doma 3
expect_window inventar

step "Tab twice (the exit, then the telephone): the ring around the telephone"
# The keys reach the place from whichever of its windows holds the focus, the inventory too.
sleep 0.3
press_key Tab
press_key Tab
expect_pointer doma 504 204
expect_ring doma 464 184 81 41
save_shot telephone-marked

step "Enter answers it; the left arrow takes the mark to the door, which Enter opens"
press_key Return
# Answered, the telephone hands its place to the door: no hotspot under the mark, no ring.
expect_no_ring doma 464 184 81 41
press_key Left
expect_pointer doma 160 220
expect_ring doma 80 96 161 249
save_shot door-marked
press_key Return
expect_window mapa 3

step "on the map Tab marks the headquarters, the down arrow home; the mouse takes it away"
sleep 0.3
press_key Tab
expect_pointer mapa 248 112
expect_ring mapa 224 96 49 33
press_key Down
expect_pointer mapa 136 200
expect_ring mapa 120 184 33 33
save_shot map-marked
move_in mapa 330 300
expect_no_ring mapa 120 184 33 33
