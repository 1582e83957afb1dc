#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Composes boards with every peg design on both backgrounds, the message windows and the built-in
# pictures exactly as the game draws them, and writes them as PNGs to <build>/screenshots/.
# Usage: scripts/screenshots.sh [build directory]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build"}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j"$(nproc)" --target tolvar_pictures boardshot
"$build/tools/assetgen/boardshot" "$build/game" "$build/screenshots"
echo "Screenshots written to $build/screenshots"
