#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one fuzz target of the core for a while: scripts/fuzz.sh TARGET SECONDS [libFuzzer options].
# Builds the fuzz build (build-fuzz/, clang) first. New inputs go into build-fuzz/fuzz/scratch/TARGET;
# copy the ones worth keeping (a crash once mended, a small input that reaches new code) into
# fuzz/corpus/TARGET. Targets: fuzz_collection fuzz_board_file fuzz_settings fuzz_rules_replay
# fuzz_session fuzz_solver.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 TARGET SECONDS [libFuzzer options]" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DTOLVAR_CORE_ONLY=ON -DTOLVAR_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target "$target"

scratch=$build/fuzz/scratch/$target
mkdir -p "$scratch"
cd "$scratch"
exec nice -n 19 "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 "$@" \
    "$scratch" "$root/fuzz/corpus/$target"
