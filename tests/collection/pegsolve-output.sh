#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# What pegsolve prints: its help, which explains the budgets and every exit status; and results that
# depend only on the board and the options. A budget of positions gives the same output on an idle
# machine and on one kept busy, for the whole search as for the first solution.
#   pegsolve-output.sh PEGSOLVE VORN.DAT
pegsolve=$1
collection=$2
dir=$(mktemp -d) || exit 1
busy=
trap '[ -z "$busy" ] || kill "$busy"; rm -rf "$dir"' EXIT
failed=0
fail() {
    echo "FAIL: $*"
    failed=1
}

"$pegsolve" --help > "$dir/help" 2>&1 || fail "--help exited with $?"
for words in --positions --seconds --memory --first --write --collection --board --survey --table --boards \
    "minimum proven" "best found" "EXIT STATUS"; do
    grep -q -- "$words" "$dir/help" || fail "the help does not mention $words"
done
for status in 0 1 2 3 4 5; do
    grep -q "^  $status  " "$dir/help" || fail "the help does not explain exit status $status"
done
"$pegsolve" --no-such-option > /dev/null 2> "$dir/wrong"
[ $? -eq 2 ] || fail "an unknown option does not exit with 2"
grep -q "unknown option \"--no-such-option\"" "$dir/wrong" || fail "an unknown option is not named"

# run NAME OPTIONS...: the output of one run, its measurements (standard error) apart.
run() {
    name=$1
    shift
    "$pegsolve" --collection "$collection" "$@" > "$dir/$name" 2> /dev/null
    echo $? >> "$dir/$name"
}
run quiet --board 96 --positions 400000 --memory 64M
run first --board 96 --positions 400000 --memory 64M --first
(while :; do :; done) &
busy=$!
run busy --board 96 --positions 400000 --memory 64M
run firstBusy --board 96 --positions 400000 --memory 64M --first
kill "$busy"
busy=
cmp -s "$dir/quiet" "$dir/busy" || fail "the same budget gave another result on a busy machine: $(diff "$dir/quiet" "$dir/busy")"
cmp -s "$dir/first" "$dir/firstBusy" || fail "--first gave another result on a busy machine"
grep -q "^searched 400[0-9]* positions (budget 400000)$" "$dir/quiet" || fail "no count of the positions: $(head -1 "$dir/quiet")"
grep -q "^move 1:$" "$dir/quiet" || fail "no solution printed"
exit $failed
