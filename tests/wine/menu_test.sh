#!/bin/bash
# The Windows program under wine, in real windows (Xvfb, openbox): the menu centred, NOVÁ HRA,
# the briefing, "Začít hru", the home with the telephone ringing through SDL's sound, the map
# over the home and the home, already open, brought back in front (under wine only when SDL
# raises windows forcefully), the home's X; then a second start that ends through KONEC. Both
# end with status 0. Run by tests/wine/run, which prepares the wine prefix.
#     bash tests/wine/menu_test.sh BUILD_DIR/orval-kesk.exe
source "$(dirname "$0")/../x11/lib.sh" "$1"

# Wine takes seconds to start a program, far more than a Linux one.
START_TIMEOUT=${START_TIMEOUT:-60}
SOUND_FILE="$WORK_DIR/sound.raw"

# The game under wine with SDL's disk sound driver, which writes what it plays to $SOUND_FILE;
# in Czech, which gettext's LANGUAGE asks for before the languages wine gives Windows.
start_game() {
    GAME_STATUS=
    rm -f "$SOUND_FILE"
    step "starting the game under wine: $ORVAL_GAME"
    (
        cd "$WORK_DIR" || exit 1
        exec env -u ORVAL_LANG SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$SOUND_FILE" LANGUAGE=cs \
            wine "$ORVAL_GAME"
    ) >"$WORK_DIR/game.log" 2>&1 &
    GAME_PID=$!
    log "   game process $GAME_PID"
}

# The clip's samples reached SDL: its data chunk lies whole in what the disk driver wrote.
_clip_played() {
    python3 - "$SOUND_FILE" "$1" <<'PY'
import sys, wave
with wave.open(sys.argv[2]) as clip:
    samples = clip.readframes(clip.getnframes())
try:
    heard = open(sys.argv[1], 'rb').read()
except OSError:
    sys.exit(1)
sys.exit(0 if samples in heard else 1)
PY
}

expect_clip() {
    local clip="$(dirname "$ORVAL_GAME")/zvuky/$1"
    log "   expect zvuky/$1 whole in the sound SDL played"
    POLL_DESCRIPTION="zvuky/$1 played through SDL's disk driver" POLL_SCREENSHOT=no \
        until_true "$2" _clip_played "$clip"
}

start_desktop
start_game

step "the menu opens centred on the screen: 359 x 227 at 460,398"
expect_window orval "$START_TIMEOUT"
expect_window_count 1
[ "${WX[orval]},${WY[orval]}" = "460,398" ] || fail "the menu is at ${WX[orval]},${WY[orval]}"
# The agent's half of the picture, above the key cap F1 in its lower left corner.
expect_scene_picture orval 0 0 170 205
save_shot menu

step "NOVÁ HRA lights up and opens the briefing (451 x 388, centred) with its Czech text"
choose_new_game
expect_window pribeh
expect_no_window orval
expect_colour pribeh 16 48 425 281 '#000080' 1000
save_shot briefing

step "\"Začít hru\": the home (822 x 454, centred) and the inventory at 500,12 of the arrangement"
click_start_game
save_shot home

step "the telephone rings: the clip reaches SDL's sound device"
expect_clip telefon.wav 15

step "the telephone, the door: the map over the home; the map's home brings the home back in front"
click_pic doma 496 164
click_pic doma 152 180
expect_window mapa
expect_scene_picture mapa
click_pic mapa 128 160
expect_scene_picture doma
save_shot home-again

step "the X of the home ends the program with status 0"
click_in doma 812 8
expect_exit 10 0

step "a second start: KONEC lights up under the pointer and ends the program with status 0"
start_game
expect_window orval "$START_TIMEOUT"
move_in orval 100 120
move_in orval 256 183
expect_picture orval menu-end-lit.png 176 168 161 30
click_in orval 256 183
expect_exit 10 0
