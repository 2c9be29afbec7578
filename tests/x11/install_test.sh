#!/bin/bash
# Installed like any Linux game: the desktop entry and the metainfo pass their validators, the
# install puts every file in its place under a scratch root, and the installed program, started
# from another folder with no ORVAL_DATADIR, finds its data and shows the main menu.
source "$(dirname "$0")/lib.sh" "$1"

SOURCE_DIR=$(cd "$(dirname "$0")/../.." && pwd)
BUILD_DIR=$(dirname "$ORVAL_GAME")
ROOT="$WORK_DIR/root"

step "the desktop entry and the metainfo are valid"
desktop-file-validate "$SOURCE_DIR/desktop/org.example.orval_kesk.desktop" ||
    fail "desktop-file-validate found faults"
appstreamcli validate --no-net --explain "$SOURCE_DIR/desktop/org.example.orval_kesk.metainfo.xml" ||
    fail "appstreamcli found faults"

step "cmake --install into a scratch root"
DESTDIR="$ROOT" cmake --install "$BUILD_DIR" --prefix /usr >"$WORK_DIR/install.log" 2>&1 ||
    fail "the install failed: $(cat "$WORK_DIR/install.log")"
for file in bin/orval-kesk share/games/orval-kesk/data/scenes/orval.toml \
    share/games/orval-kesk/data/pictures/menu.png share/games/orval-kesk/data/pictures/en/menu-new-game.png \
    "share/games/orval-kesk/zvuky/go bank.wav" "share/games/orval-kesk/zvuky/en/go bank.wav" \
    share/games/orval-kesk/data/en/captions.tsv \
    share/applications/org.example.orval_kesk.desktop \
    share/metainfo/org.example.orval_kesk.metainfo.xml \
    share/icons/hicolor/48x48/apps/orval-kesk.png share/icons/hicolor/scalable/apps/orval-kesk.svg \
    share/man/man6/orval-kesk.6; do
    [ -e "$ROOT/usr/$file" ] || fail "not installed: /usr/$file"
done
for folder in zvuky zvuky/en; do
    [ "$(ls "$ROOT/usr/share/games/orval-kesk/$folder"/*.wav | wc -l)" -eq 34 ] ||
        fail "not every clip installed in $folder"
done

step "the installed game, started elsewhere without ORVAL_DATADIR, shows the menu"
unset ORVAL_DATADIR
ORVAL_GAME="$ROOT/usr/bin/orval-kesk"
start_desktop
start_game
expect_window orval 5
expect_scene_picture orval 0 0 170 205
save_shot installed-menu
