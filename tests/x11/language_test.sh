#!/bin/bash
# The language and the player's choices in real windows. With LANGUAGE=en the menu and the story
# are English; CZ on the menu switches to Czech at once, and the choice outlives a restart, over
# the desktop's language; --lang wins over both, and a language the game lacks stops it. The
# choices are kept in $XDG_DATA_HOME/orval-kesk/settings.conf: T and M written at once, so that a
# game killed afterwards starts again without subtitles and silent; a damaged settings file is
# said in one line and the defaults are played; a home where nothing can be kept still plays.
source "$(dirname "$0")/lib.sh" "$1"

SETTINGS="$GAME_DATA_HOME/orval-kesk/settings.conf"
SNAPSHOT="$(dirname "$ORVAL_GAME")/orval-snapshot"
# The inventory's crossed speaker (26 x 20, 6 pixels from its upper right corner): red while
# the sound is off.
speaker_red() {
    screenshot
    count_colour $((WX[inventar] + 516 - 32)) $((WY[inventar] + 6)) 26 20 '#E0322E'
}
_no_subtitles() { ! subtitle_window >/dev/null; }
_subtitles_up() { subtitle_window >/dev/null; }
_settings_say() { grep -qx "$1" "$SETTINGS" 2>/dev/null; }
# Fails when the subtitle window shows at any time within the next $1 seconds.
expect_no_subtitles_for() {
    local deadline=$(($(now_ms) + $1 * 1000))
    while [ "$(now_ms)" -lt "$deadline" ]; do
        _no_subtitles || fail "the telephone's words show though subtitles were turned off"
        sleep 0.2
    done
}

# The whole window as orval-snapshot draws the scene in that language, with the pointer where
# nothing lights up.
expect_scene_in() {
    local scene=$1 file=$2 w h
    read -r w h <<<"${SCENE_SIZE[$scene]}"
    PICTURES="$WORK_DIR" expect_picture "$scene" "$file" 0 0 "$w" "$h"
}
stop_game() {
    kill -TERM "$GAME_PID"
    expect_exit 10 0
}

step "the menu and the story as drawn headless in each language, far apart enough to tell"
"$SNAPSHOT" ORVAL "$WORK_DIR/menu-en.png" --lang en &&
    "$SNAPSHOT" ORVAL "$WORK_DIR/menu-cs.png" &&
    "$SNAPSHOT" Příběh "$WORK_DIR/story-en.png" --lang en ||
    fail "orval-snapshot cannot draw the menu and the story"
apart=$("$COMPARE" -metric AE "$WORK_DIR/menu-en.png" "$WORK_DIR/menu-cs.png" null: 2>&1 | cut -d' ' -f1)
[ "$apart" -gt $((359 * 227 / 200 + 30)) ] ||
    fail "the English menu differs from the Czech one by $apart pixels only"

start_desktop

step "LANGUAGE=en before a Czech LANG: the menu in English, EN lit; NEW GAME opens the story in English"
GAME_LANGUAGE=en
GAME_LANG=cs_CZ.UTF-8  # SDL alone would put it first
start_game
expect_window orval 3
move_in orval 100 120
expect_scene_in orval menu-en.png
save_shot menu-english
move_in orval 256 70
click_in orval 256 70
expect_window pribeh
expect_scene_in pribeh story-en.png
save_shot story-english
stop_game
[ ! -e "$SETTINGS" ] || fail "the desktop's language was kept as a choice: $(cat "$SETTINGS")"

step "CZ on the menu: Czech at once, kept"
start_game
expect_window orval 3
move_in orval 100 120
expect_scene_in orval menu-en.png
click_in orval 308 209
move_in orval 100 120
expect_scene_in orval menu-cs.png
save_shot menu-czech
POLL_DESCRIPTION="language = cs in $SETTINGS" POLL_SCREENSHOT=no \
    until_true 2 _settings_say "language = cs"
stop_game

step "started again with LANGUAGE=en: the choice wins, Czech"
start_game
expect_window orval 3
move_in orval 100 120
expect_scene_in orval menu-cs.png
stop_game

step "--lang en wins over the choice, and changes nothing kept"
GAME_ARGS=(--lang en)
start_game
expect_window orval 3
move_in orval 100 120
expect_scene_in orval menu-en.png
stop_game
_settings_say "language = cs" || fail "--lang changed the settings: $(cat "$SETTINGS")"

step "--lang de: the game says it has no such language and ends with status 2"
GAME_ARGS=(--lang de)
start_game
expect_exit 5 2
grep -q 'no language "de": the game speaks cs, en' "$WORK_DIR/game.log" ||
    fail "no word of the language: $(cat "$WORK_DIR/game.log")"
GAME_ARGS=()
GAME_LANGUAGE=
GAME_LANG=C.UTF-8
rm "$SETTINGS"

step "the first run: no settings yet; T and M are written at once"
start_game
arrive_home
expect_window inventar
POLL_DESCRIPTION="the telephone's words" POLL_SCREENSHOT=no until_true 3 _subtitles_up
press_key t "${SCENE_WINDOW[inventar]}"
POLL_DESCRIPTION="subtitles = off in $SETTINGS" POLL_SCREENSHOT=no \
    until_true 2 _settings_say "subtitles = off"
press_key m "${SCENE_WINDOW[inventar]}"
POLL_DESCRIPTION="sound = off in $SETTINGS" POLL_SCREENSHOT=no until_true 2 _settings_say "sound = off"
[ "$(speaker_red)" -ge 15 ] || fail "no crossed speaker in the inventory after M"
[ ! -s "$WORK_DIR/game.log" ] || fail "the game complained: $(cat "$WORK_DIR/game.log")"

step "killed, then started again: no subtitles, the speaker crossed"
kill -KILL "$GAME_PID"
wait "$GAME_PID" 2>/dev/null
GAME_PID=
start_game
arrive_home
expect_window inventar
[ "$(speaker_red)" -ge 15 ] || fail "the sound is on again after a restart"
expect_no_subtitles_for 4  # the telephone rings meanwhile
save_shot remembered
click_in doma 812 8
expect_exit 10 0
[ ! -s "$WORK_DIR/game.log" ] || fail "the game complained: $(cat "$WORK_DIR/game.log")"

step "a damaged settings file: one line that names it, then the defaults"
printf 'subtitles = off\nsound = maybe\n' >"$SETTINGS"
start_game
arrive_home
expect_window inventar
POLL_DESCRIPTION="the telephone's words (subtitles on by default)" POLL_SCREENSHOT=no \
    until_true 3 _subtitles_up
[ "$(speaker_red)" -eq 0 ] || fail "the speaker is crossed though the sound is on by default"
[ "$(wc -l <"$WORK_DIR/game.log")" -eq 1 ] &&
    grep -q "$SETTINGS line 2: sound is \"maybe\"" "$WORK_DIR/game.log" ||
    fail "not one line naming the file and its fault: $(cat "$WORK_DIR/game.log")"
log "   said: $(cat "$WORK_DIR/game.log")"
click_in doma 812 8
expect_exit 10 0

step "nowhere to keep anything (a file where the data folder would be): the game still plays"
GAME_DATA_HOME="$WORK_DIR/not-a-folder"
touch "$GAME_DATA_HOME"
start_game
arrive_home
expect_window inventar
press_key t "${SCENE_WINDOW[inventar]}"
sleep 0.5
grep -q "settings" "$WORK_DIR/game.log" ||
    fail "the game did not say its settings cannot be kept: $(cat "$WORK_DIR/game.log")"
log "   said: $(cat "$WORK_DIR/game.log")"
click_in doma 812 8
expect_exit 10 0
