#!/bin/bash
# The player's choices in real windows, kept in $XDG_DATA_HOME/orval-kesk/settings.conf: T and M
# written at once, so that a game killed afterwards starts again without subtitles and silent;
# a damaged settings file is said in one line and the defaults are played; a home where nothing
# can be kept still plays.
source "$(dirname "$0")/lib.sh" "$1"

SETTINGS="$GAME_DATA_HOME/orval-kesk/settings.conf"
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

start_desktop

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
press_key t "${SCENE_WINDOW[inventar]}"
sleep 0.5
grep -q "settings" "$WORK_DIR/game.log" ||
    fail "the game did not say its settings cannot be kept: $(cat "$WORK_DIR/game.log")"
log "   said: $(cat "$WORK_DIR/game.log")"
click_in doma 812 8
expect_exit 10 0
