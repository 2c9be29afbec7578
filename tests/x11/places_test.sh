#!/bin/bash
# The first places of the town in real windows: the telephone and the door of the home, the
# map, the headquarters, the warehouse crates filling the inventory, Mr. Brown's documents in
# the game's own message box, and the shop opened by them on the map.
source "$(dirname "$0")/lib.sh" "$1"

# Nothing new opens: after a click that must do nothing, the game still has $1 windows.
expect_nothing_opens() {
    local count=$1 until=$(($(now_ms) + 1000))
    log "   expect no new window (for a second)"
    while [ "$(now_ms)" -lt "$until" ]; do
        sleep 0.1
        [ "$(game_windows | wc -l)" -eq "$count" ] || fail "a window opened: $(game_windows)"
    done
}

start_desktop
start_game
expect_window orval 3

step "into play: NOVÁ HRA, then Enter in the briefing"
choose_new_game
expect_window pribeh
press_key Return "${SCENE_WINDOW[pribeh]}"
expect_window doma
expect_window inventar
expect_window_count 2
expect_scene_picture doma

step "the door does not open before the telephone is answered"
click_pic doma 152 180
expect_nothing_opens 2

step "the telephone, then the door: the town map (453 x 446, centred) in front of the home"
click_pic doma 496 164
click_pic doma 152 180
expect_window mapa
expect_window_count 3
expect_scene_picture mapa
expect_pixel mapa 4 4 5FB0ED
# The home is still open around the map.
expect_scene_picture doma 8 40 150 405
expect_scene_picture doma 700 40 100 405
save_shot map

step "the shop on the map is still closed"
click_pic mapa 272 216
expect_nothing_opens 3

step "the headquarters: \"Kam?\" at 512,268 (137 x 94) over the map"
click_pic mapa 240 72
expect_window velitelstvi
expect_window_count 4
expect_pixel velitelstvi 4 4 5FB0ED
# Two pale link bars (#A9D5F5) with deep azure text (#1174E1), "Kam?" in black above.
expect_colour velitelstvi 16 40 105 17 '#A9D5F5' 1000
expect_colour velitelstvi 16 64 105 17 '#A9D5F5' 1000
expect_colour velitelstvi 16 40 105 17 '#1174E1' 10
expect_colour velitelstvi 16 64 105 17 '#1174E1' 10
expect_colour velitelstvi 48 8 49 25 '#000000' 20
# The map beside and below it is still in front of the home.
expect_scene_picture mapa 8 80 438 360
save_shot headquarters

step "\"Do skladu\": the warehouse (821 x 451, centred); the headquarters close"
expect_slot_empty 1
expect_slot_empty 2
click_in velitelstvi 60 72
expect_window sklad
expect_no_window velitelstvi
expect_window_count 4
expect_scene_picture sklad

step "the larger crate gives the pistol, the smaller one the listening device"
click_pic sklad 668 340
expect_slot_item 1 item-pistol.png
expect_slot_empty 2
click_pic sklad 572 264
expect_slot_item 2 item-bug.png
expect_slot_item 1 item-pistol.png
for n in 3 4 5; do expect_slot_empty "$n"; done
# The inventory keeps its frame and title around the items.
expect_pixel inventar 8 32 1174E1
expect_colour inventar 192 0 129 25 '#0000FF' 60
save_shot items

step "the left edge of the warehouse: the map comes to the front again"
click_pic sklad 24 250
expect_scene_picture mapa
expect_window_count 4

step "the headquarters again, \"K Brownovi\": Mr. Brown (823 x 448, centred)"
click_pic mapa 240 72
expect_window velitelstvi
expect_colour velitelstvi 16 40 105 17 '#A9D5F5' 1000
click_in velitelstvi 60 48
expect_window brown
expect_no_window velitelstvi
expect_window_count 5
expect_scene_picture brown

step "the tape on the box does nothing before Mr. Brown has spoken"
click_pic brown 548 256
expect_nothing_opens 5

step "Mr. Brown's head, then the tape: the message box \"DOKUMENTY\""
click_pic brown 632 192
click_pic brown 548 256
expect_message_box DOKUMENTY
save_shot documents
# The box lies in front of Mr. Brown's room; around it the room is unchanged.
expect_scene_picture brown 8 40 200 401

step "Enter closes the message box"
press_key Return "$MESSAGE_WINDOW"
expect_message_box_closed DOKUMENTY
expect_scene_picture brown
expect_window_count 5

step "Mr. Brown's left edge: the map; its shop now opens Mr. Green's shop (820 x 452)"
click_pic brown 24 220
expect_scene_picture mapa
click_pic mapa 272 216
expect_window green
expect_window_count 6
expect_scene_picture green
save_shot shop

step "the X of the shop ends the program"
click_in green 812 8
expect_exit 3 0
