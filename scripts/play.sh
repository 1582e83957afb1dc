#!/usr/bin/env bash
# Sets everything up, builds, and starts the game from the build's program directory.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"
if [ -x "$root/build/game/tolvarpegs" ]; then
    exec "$root/build/game/tolvarpegs"
fi
echo "Built. The game window is not part of the build yet."
