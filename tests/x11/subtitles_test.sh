#!/bin/bash
# Subtitles and the game's keys in real windows: the telephone's words in a "Titulky" window
# right below the home, which never takes the focus and goes when the clip ends; H marks the
# hotspots and a second H clears them; M silences the next clip.
source "$(dirname "$0")/lib.sh" "$1"

GAME_AUDIO_FILE="$WORK_DIR/audio.raw"
audio_bytes() { stat -c %s "$GAME_AUDIO_FILE" 2>/dev/null || echo 0; }

_subtitles_below_home() {
    local line
    line=$(subtitle_window) || return 1
    read -r SUB_ID SUB_X SUB_Y SUB_W SUB_H _ <<<"$line"
    POLL_DETAIL="last try: $line"
    [ "$SUB_X $SUB_Y $SUB_W" = "229 739 822" ]
}
_no_subtitles() { ! subtitle_window >/dev/null; }
_focus_on() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

start_desktop
start_game
arrive_home
expect_window inventar

step "the telephone rings: its words in \"Titulky\" right below the home, as wide"
POLL_DESCRIPTION="a Titulky window at 229,739, 822 wide" until_true 3 _subtitles_below_home
xwininfo -id "$SUB_ID" | grep -q 'Override Redirect State: yes' ||
    fail "the window manager manages the subtitle window (it could take the focus)"
# "[zvoní telefon]" in light grey on the dark box.
TIMEOUT=2 expect_colour doma 0 454 822 "$SUB_H" '#14161C' 20000
TIMEOUT=2 expect_colour doma 0 454 822 "$SUB_H" '#C8C8C8' 30
save_shot ringing
[ "$(xdotool getwindowfocus)" != "$SUB_ID" ] || fail "the subtitle window took the focus"

step "the subtitles go by themselves once the ring ends"
POLL_SCREENSHOT=no POLL_DESCRIPTION="the subtitle window closed" until_true 9 _no_subtitles

step "the telephone answered: the announcer's words, and the home keeps the focus"
click_pic doma 100 380  # the floor: the home comes forward
POLL_SCREENSHOT=no POLL_DESCRIPTION="the focus on the home" \
    until_true 2 _focus_on "${SCENE_WINDOW[doma]}"
click_pic doma 496 164
POLL_DESCRIPTION="a Titulky window below the home" until_true 3 _subtitles_below_home
# The announcer's name in pink, her words in white.
TIMEOUT=3 expect_colour doma 0 454 822 "$SUB_H" '#F08CC0' 20
TIMEOUT=3 expect_colour doma 0 454 822 "$SUB_H" '#FAFAFA' 40
save_shot announcer
sleep 0.5
_focus_on "${SCENE_WINDOW[doma]}" || fail "the focus left the home: $(xdotool getwindowfocus)"

step "Space ends the call's words at once"
press_key space "${SCENE_WINDOW[doma]}"
POLL_SCREENSHOT=no POLL_DESCRIPTION="the subtitle window closed" until_true 2 _no_subtitles

step "H outlines the television's hotspot, a second H clears it"
expect_pixel doma 625 230 1F1A17  # the television's outline, unmarked
press_key h "${SCENE_WINDOW[doma]}"
expect_pixel doma 625 230 FFE14D
save_shot hotspots
press_key h "${SCENE_WINDOW[doma]}"
expect_pixel doma 625 230 1F1A17

# SDL's disk driver writes the sound while the device is open: the file grows while a clip can be
# heard, and stops growing once the device has closed after a few quiet seconds.
_audio_growing() {
    local before
    before=$(audio_bytes)
    sleep 0.5
    POLL_DETAIL="last try: $before then $(audio_bytes) bytes"
    [ "$(audio_bytes)" -gt "$before" ]
}
_audio_still() { ! _audio_growing; }

step "M: the television is not heard, though its words show; a second M lets it be heard"
POLL_SCREENSHOT=no POLL_DESCRIPTION="the sound device closed once quiet" until_true 8 _audio_still
press_key m "${SCENE_WINDOW[doma]}"
click_pic doma 672 196
POLL_DESCRIPTION="the television's words below the home" until_true 3 _subtitles_below_home
_audio_still || fail "the muted television was heard ($POLL_DETAIL)"
press_key m "${SCENE_WINDOW[doma]}"
click_pic doma 672 196
POLL_SCREENSHOT=no POLL_DESCRIPTION="the television heard again" until_true 3 _audio_growing

step "KONEC of the home (X) ends the game, its subtitles with it"
click_in doma 808 8
expect_exit 5 0
