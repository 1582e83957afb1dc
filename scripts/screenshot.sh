#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the built game under a virtual X server, waits for its main window and writes a screenshot
# of the screen to <build>/screenshots/game.png. Settings go to a temporary directory, so a player's
# own kestrum.ini is neither read nor changed.
# Usage: scripts/screenshot.sh [build directory]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
game=$build/game/tolvarpegs
out=$build/screenshots
[ -x "$game" ] || { echo "No game at $game: build it first (scripts/setup.sh)." >&2; exit 1; }
mkdir -p "$out"

config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
# The language is chosen, so the window opens on the board without the language question.
printf '[Tolvar Pegs 1]\ntongue=0\nleft=20\ntop=20\n' > "$config/kestrum.ini"

XDG_CONFIG_HOME=$config TOLVAR_NO_SPLASH=1 GAME=$game OUT=$out \
    xvfb-run -a -s "-screen 0 640x480x24" bash -c '
        "$GAME" &
        pid=$!
        for _ in $(seq 100); do
            xwininfo -root -tree 2>/dev/null | grep -q "\"Tolvar Pegs [0-9]" && break
            sleep 0.1
        done
        sleep 0.5 # let the first paint finish
        xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$OUT/game.png"
        kill "$pid"
    '
echo "Screenshot written to $out/game.png"
