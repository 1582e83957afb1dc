#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets everything up, builds, and runs every test: the full build under a virtual X server where the
# tests need one, then the Qt-free core once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the core's fuzz targets (clang): each replays its seed corpus and fuzzes for a few seconds.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/setup.sh"

cd "$root/build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2

cmake -S "$root" -B "$root/build-sanitize" -DTOLVAR_CORE_ONLY=ON -DTOLVAR_SANITIZE=ON \
    -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$root/build-sanitize" -j"$(nproc)"
cd "$root/build-sanitize"
ctest --output-on-failure -j2

CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DTOLVAR_CORE_ONLY=ON -DTOLVAR_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build-fuzz" -j"$(nproc)"
cd "$root/build-fuzz"
ctest --output-on-failure -j2
