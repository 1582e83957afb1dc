#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# pegsolve on a big board with a memory budget far too small for the proof: it must still print
# the best solution it has and the proven lower bound, and exit 0 as when its time runs out.
#   pegsolve-small-memory.sh PEGSOLVE VORN.DAT
out=$("$1" --collection "$2" --board 96 --seconds 4 --memory 2M)
status=$?
echo "$out"
[ "$status" -eq 0 ] || { echo "pegsolve exited with $status"; exit 1; }
echo "$out" | grep -q "^the memory budget ran out" || { echo "no word of the memory budget"; exit 1; }
echo "$out" | grep -q "^best found: [0-9]* moves; proved that no solution has fewer than [1-9][0-9]*$" ||
    { echo "no best solution and bound"; exit 1; }
echo "$out" | grep -q "^move 1:$" || { echo "no moves printed"; exit 1; }
