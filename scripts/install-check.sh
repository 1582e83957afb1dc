#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a built tree into a temporary prefix and checks the result: every installed file in its
# place, the launcher a link into the program directory, a reinstall that keeps the player's
# collection, and the installed launcher starting the game under a virtual X server until its main
# window shows; a screenshot of that window is kept.
#
#   scripts/install-check.sh [build directory]      (default: build)
#
# Needs Xvfb, xwininfo (x11-utils), xwd (x11-apps) and netpbm; scripts/setup.sh installs them.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

fail() {
    echo "install check FAILED: $*" >&2
    exit 1
}

# Under the virtual X server: start the launcher, wait for the 500 x 366 main window, grab it.
run_inside() {
    local launcher=$1 shot=$2 log=$3
    # An offscreen platform inherited from a test run would open no X window at all.
    env -u QT_QPA_PLATFORM "$launcher" >"$log" 2>&1 &
    local pid=$!
    local window=""
    for _ in $(seq 1 300); do
        kill -0 "$pid" 2>/dev/null || fail "the game ended before its window showed (see $log)"
        window=$(xwininfo -root -tree | awk '/"Tolvar Pegs[^"]*".* 500x366\+/ { print $1; exit }')
        [ -n "$window" ] && break
        sleep 0.1
    done
    if [ -z "$window" ]; then
        kill "$pid"
        fail "no main window within 30 seconds"
    fi
    sleep 1 # let the first activation draw the board
    xwd -silent -id "$window" | xwdtopnm 2>/dev/null | pnmtopng >"$shot"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

if [ "${1:-}" = "--inside" ]; then
    shift
    run_inside "$@"
    exit 0
fi

build=$(cd "${1:-$root/build}" && pwd)
for tool in Xvfb xwininfo xwd xwdtopnm pnmtopng pngtopnm pnmfile ppmhist; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install (see output above)"

program=$prefix/lib/tolvarpegs
[ -x "$program/tolvarpegs" ] || fail "no game program in $program: the build has no target tolvarpegs yet"
for file in b0.bmp b1.bmp b2.bmp b5.bmp b1@2x.png b2@2x.png b5@2x.png w1.wav w2.wav w3.wav w4.wav w5.wav w6.wav w7.wav w8.wav \
    w11.wav w12.wav w13.wav w14.wav VORN.HLP VSER.HLP vorn.dat; do
    [ -s "$program/$file" ] || fail "$program/$file is missing or empty"
done
[ -L "$prefix/bin/tolvarpegs" ] || fail "bin/tolvarpegs is not a link"
[ "$(readlink -f "$prefix/bin/tolvarpegs")" = "$(readlink -f "$program/tolvarpegs")" ] ||
    fail "bin/tolvarpegs does not lead to the program"

desktop=$prefix/share/applications/tolvarpegs.desktop
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx 'Exec=tolvarpegs' "$desktop" || fail "the desktop entry does not start tolvarpegs"
grep -qx 'Icon=tolvarpegs' "$desktop" || fail "the desktop entry names another icon"
icon=$prefix/share/icons/hicolor/256x256/apps/tolvarpegs.png
[ -f "$icon" ] || fail "no icon"
pngtopnm "$icon" >"$work/icon.pnm" 2>/dev/null || fail "the icon is no PNG picture"
pnmfile "$work/icon.pnm" | grep -q '256 by 256' || fail "the icon is not 256 x 256"
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/tolvarpegs.svg" || fail "no scalable icon"
metainfo=$prefix/share/metainfo/invalid.tolvarpegs.TolvarPegs.metainfo.xml
grep -q '<launchable type="desktop-id">tolvarpegs.desktop</launchable>' "$metainfo" ||
    fail "no AppStream metainfo launching the desktop entry"
# The designers' solver beside the game, answering for itself.
"$prefix/bin/tolvarpegs-solve" --help >"$work/solve-help" || fail "bin/tolvarpegs-solve --help exits with $?"
grep -q -- '--positions' "$work/solve-help" || fail "tolvarpegs-solve --help does not name --positions"

# A second install keeps the collection that is already there.
printf 'player' >>"$program/vorn.dat"
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
[ "$(tail -c 6 "$program/vorn.dat")" = "player" ] || fail "a reinstall overwrote the installed collection"
truncate -s -6 "$program/vorn.dat"

# A settings file of its own with the language chosen, so the main window opens without asking.
mkdir -p "$work/config"
printf '[Tolvar Pegs 1]\ntongue=0\n' >"$work/config/kestrum.ini"
shot=$build/install-check.png
# A virtual X server on a display of its own. Xvfb takes the first free display number itself and
# writes it to the file (-displayfd); xvfb-run -a would only guess a free one from the lock files, and
# lose it now and then to an X server that a test running beside this check starts at that moment.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 1 300); do
    grep -q . "$work/display" 2>/dev/null && break
    kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    sleep 0.1
done
grep -q . "$work/display" || fail "Xvfb reported no display within 30 seconds"
DISPLAY=:$(head -n 1 "$work/display") XDG_CONFIG_HOME=$work/config \
    "$root/scripts/install-check.sh" --inside "$prefix/bin/tolvarpegs" "$shot" "$work/game.log"
[ -s "$shot" ] || fail "no screenshot"
colours=$(pngtopnm "$shot" | ppmhist -noheader | wc -l)
[ "$colours" -gt 16 ] || fail "the screenshot shows an empty window ($colours colours)"

echo "install check passed: installed into a temporary prefix, the launcher opened the main window;"
echo "screenshot: $shot"
