#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# pegsolve given what is no board file: each input must end at once, well within 5 s and 100 MB,
# with a message that names the file and what is wrong, and the exit status the help text gives;
# every message begins with the name the program was called by.
#   pegsolve-input.sh PEGSOLVE VORN.DAT
pegsolve=$1
collection=$2
here=$(dirname "$0")
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
failed=0

# expect STATUS FILE WORDS [OPTIONS]: pegsolve on FILE (or with OPTIONS, when given) ends within 5 s
# and 100 MB with that status and a message naming the file with the words (a solved board's
# output need not name it).
expect() {
    want=$1 file=$2 words=$3
    shift 3
    [ $# -gt 0 ] || set -- "$file"
    set -- $(python3 "$here/pegsolve-peak.py" "$dir/out" 5 "$pegsolve" "$@")
    pattern="$file.*$words"
    [ "$want" -ne 0 ] || pattern=$words
    if [ "$1" != "$want" ] || [ "$2" -gt 102400 ] || ! grep -q "$pattern" "$dir/out"; then
        echo "FAIL: $file: status $1 (want $want), peak $2 KiB, said:"
        cat "$dir/out"
        failed=1
    fi
}

# Board 1 of the collection as a board file, and damaged copies of it.
record() {
    python3 -c "import sys; d = open(sys.argv[1], 'rb').read()[:732]; sys.stdout.buffer.write(d)" "$collection"
}
record > "$dir/good.vrn"
patch() { # patch NAME OFFSET BYTE
    python3 -c "import sys; d = bytearray(open(sys.argv[1], 'rb').read()); d[int(sys.argv[3])] = int(sys.argv[4]); open(sys.argv[2], 'wb').write(d)" \
        "$dir/good.vrn" "$dir/$1" "$2" "$3"
}
patch size200.vrn 162 200
patch size4.vrn 162 4
patch shape7.vrn 163 7
patch startcode.vrn 19 9
patch targetcode.vrn 81 200
head -c 700 "$dir/good.vrn" > "$dir/short.vrn"
cat "$dir/good.vrn" "$dir/good.vrn" > "$dir/long.vrn"
: > "$dir/empty.vrn"
mkdir "$dir/d.vrn"
mkfifo "$dir/fifo.vrn"
truncate -s 2G "$dir/sparse.vrn"
truncate -s 2G "$dir/sparse.dat"

expect 1 "$dir/d.vrn" "is a directory"
expect 1 "$dir/fifo.vrn" "not a regular file"
expect 1 /dev/zero "not a regular file"
expect 1 "$dir/missing.vrn" "no such file"
expect 5 "$dir/sparse.vrn" "is 2147483648 bytes long"
expect 5 "$dir/short.vrn" "is 700 bytes long"
expect 5 "$dir/long.vrn" "is 1464 bytes long"
expect 5 "$dir/empty.vrn" "is 0 bytes long"
expect 5 "$dir/size200.vrn" "size is 200"
expect 5 "$dir/size4.vrn" "size is 4"
expect 5 "$dir/shape7.vrn" "shape is 7"
expect 5 "$dir/startcode.vrn" "start holds code 9"
expect 5 "$dir/targetcode.vrn" "target holds code 200"
expect 1 "$dir/d.vrn" "is a directory" --collection "$dir/d.vrn" --board 1
expect 1 "$dir/fifo.vrn" "not a regular file" --collection "$dir/fifo.vrn" --board 1
expect 5 "$dir/empty.vrn" "holds no whole board record" --collection "$dir/empty.vrn" --board 1
# A sparse collection reads as zero records: only the 200 records a collection holds are read.
expect 5 "$dir/sparse.dat" "board 3: not a board: its size is 0" --collection "$dir/sparse.dat" --board 3
# Installed, the program is tolvarpegs-solve: its messages, usage and help name it so, never pegsolve.
cp "$pegsolve" "$dir/tolvarpegs-solve"
named() { # named WHAT PATTERN OPTIONS...: what the installed name says to these options
    what=$1 pattern=$2
    shift 2
    "$dir/tolvarpegs-solve" "$@" > "$dir/named" 2>&1
    if ! grep -q "$pattern" "$dir/named" || grep -q pegsolve "$dir/named"; then
        echo "FAIL: $what does not name tolvarpegs-solve as it was called:"
        cat "$dir/named"
        failed=1
    fi
}
named "a directory's message" "^tolvarpegs-solve: $dir/d.vrn: is a directory" "$dir/d.vrn"
named "a short file's message" "^tolvarpegs-solve: $dir/short.vrn: is 700" "$dir/short.vrn"
named "a missing collection's message" "^tolvarpegs-solve: $dir/missing.dat: no such" \
    --collection "$dir/missing.dat" --board 1
named "an unknown option's usage" "^usage: tolvarpegs-solve FILE.vrn" --no-such-option
named "a board's measurements" "^tolvarpegs-solve: [0-9.]* s; the process held" "$dir/good.vrn" \
    --positions 1000 --memory 64M
named "the help" "^usage: tolvarpegs-solve FILE.vrn" --help
# The good board itself is solved, so the failures above are the inputs'.
expect 0 "$dir/good.vrn" "^minimum proven: 1 moves$"
exit $failed
