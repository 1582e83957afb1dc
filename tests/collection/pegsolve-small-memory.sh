#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# pegsolve with a memory budget far too small for the proof: measured from outside, the process
# never holds more than the budget, and it still prints the best solution it has and the proven
# lower bound, and exits 0 as when its budget of positions runs out. Board 66 is an open diagonal
# board where a single position has runs of jumps beyond number; board 96 a big one.
#   pegsolve-small-memory.sh PEGSOLVE VORN.DAT
here=$(dirname "$0")
out=$(mktemp) || exit 1
trap 'rm -f "$out"' EXIT
failed=0

# check BOARD MIB POSITIONS
check() {
    set -- "$1" "$2" $(python3 "$here/pegsolve-peak.py" "$out" 50 "$pegsolve" --collection "$collection" \
        --board "$1" --positions "$3" --memory "$2M")
    problem=
    [ "$3" = 0 ] || problem="exited with $3"
    [ "$4" -le $(($2 * 1024)) ] || problem="$problem; held $4 KiB, more than $2 MiB"
    grep -q "^the memory ran out" "$out" || problem="$problem; no word of the memory"
    grep -q "^best found: [0-9]* moves; proved that no solution has fewer than [1-9][0-9]*$" "$out" ||
        problem="$problem; no best solution and bound"
    grep -q "^move 1:$" "$out" || problem="$problem; no moves printed"
    if [ -n "$problem" ]; then
        echo "FAIL: board $1 in $2 MiB: $problem"
        cat "$out"
        failed=1
    fi
}

pegsolve=$1
collection=$2
check 96 16 1000000
check 66 32 2000000
exit $failed
