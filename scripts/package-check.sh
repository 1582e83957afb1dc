#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a built tree and checks it: its name and fields, dependencies read
# from the shared libraries, every file in its place (program directory, launcher, desktop entry,
# icons at each theme size, manual page, copyright and changelog), lintian without errors, and the
# unpacked package played by an ordinary user under a virtual X server with a window manager: a
# board solved and saved at the close into the player's own collection, shown solved at the next
# start, the installed collection untouched.
#
#   scripts/package-check.sh [build directory]      (default: build)
#
# Needs cpack, dpkg-deb, dpkg-shlibdeps (dpkg-dev), file, lintian, and the desktop tier's X tools;
# scripts/setup.sh installs them.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}

for tool in cpack dpkg-deb dpkg-shlibdeps file lintian python3 setpriv; do
    command -v "$tool" >/dev/null || fail "$tool is missing; run scripts/setup.sh"
done

work=$(mktemp -d)
# The unpacked program directory is made read-only below; make it removable again.
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
chmod 755 "$work"

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in $build/CPackConfig.cmake"
(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB"
}
deb=$work/out/tolvarpegs_${version}_amd64.deb
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$work/out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tolvarpegs ] || fail "package name $(field Package)"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "architecture $(field Architecture)"
[ "$(field Section)" = games ] || fail "section $(field Section)"
depends=$(field Depends)
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 fonts-dejavu-core \
    fonts-liberation; do
    case ", $depends," in
    *", $needed "* | *", $needed,"*) ;;
    *) fail "Depends lacks $needed: $depends" ;;
    esac
done

# Everything belongs to root, as dpkg installs it.
if dpkg-deb -c "$deb" | awk '$2 != "root/root" { bad = 1 } END { exit !bad }'; then
    fail "files not owned by root: $(dpkg-deb -c "$deb" | awk '$2 != "root/root"' | head -3)"
fi

tree=$work/tree
dpkg-deb -x "$deb" "$tree"
program=$tree/usr/lib/tolvarpegs
[ -x "$program/tolvarpegs" ] || fail "no program in /usr/lib/tolvarpegs"
file "$program/tolvarpegs" | grep -q ', stripped' || fail "the program is not stripped"
for picture in b0.bmp b1.bmp b2.bmp b5.bmp b1@2x.png b2@2x.png b5@2x.png; do
    [ -s "$program/$picture" ] || fail "$picture is missing"
done
for n in 1 2 3 4 5 6 7 8 11 12 13 14; do
    [ -s "$program/w$n.wav" ] || fail "w$n.wav is missing"
done
for other in VORN.HLP VSER.HLP vorn.dat; do
    [ -s "$program/$other" ] || fail "$other is missing"
done
cmp -s "$program/vorn.dat" "$build/data/vorn.dat" || fail "the packaged collection is not the built-in one"
[ "$(readlink "$tree/usr/games/tolvarpegs")" = ../lib/tolvarpegs/tolvarpegs ] ||
    fail "/usr/games/tolvarpegs is not the relative link into the program directory"
grep -qx 'Exec=tolvarpegs' "$tree/usr/share/applications/tolvarpegs.desktop" || fail "no desktop entry"
for size in 16 24 32 48 64 128 256; do
    icon=$tree/usr/share/icons/hicolor/${size}x${size}/apps/tolvarpegs.png
    file "$icon" | grep -q "PNG image data, $size x $size," || fail "no $size x $size icon"
done
grep -q '<svg' "$tree/usr/share/icons/hicolor/scalable/apps/tolvarpegs.svg" || fail "no scalable icon"
metainfo=$tree/usr/share/metainfo/invalid.tolvarpegs.TolvarPegs.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
    cat "$work/appstream.log" >&2
    fail "the AppStream metainfo does not validate"
}
zcat "$tree/usr/share/man/man6/tolvarpegs.6.gz" | grep -q '^\.TH TOLVARPEGS 6' || fail "no manual page"
# The designers' solver under its installed name, with its own manual page, runs from the package.
solver=$tree/usr/games/tolvarpegs-solve
[ -x "$solver" ] || fail "no /usr/games/tolvarpegs-solve"
file "$solver" | grep -q ', stripped' || fail "the solver is not stripped"
"$solver" --help >"$work/solve-help" || fail "tolvarpegs-solve --help exits with $?"
grep -q '^usage: tolvarpegs-solve ' "$work/solve-help" && grep -q -- '--positions' "$work/solve-help" ||
    fail "tolvarpegs-solve --help does not explain it"
zcat "$tree/usr/share/man/man6/tolvarpegs-solve.6.gz" | grep -q '^\.TH TOLVARPEGS-SOLVE 6' ||
    fail "no manual page for tolvarpegs-solve"
[ -s "$tree/usr/share/doc/tolvarpegs/copyright" ] || fail "no copyright file"
zcat "$tree/usr/share/doc/tolvarpegs/changelog.gz" | grep -q "^tolvarpegs ($version)" ||
    fail "the changelog does not name version $version"

# Errors fail the check; warnings are listed (README: the warnings kept, and why).
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || {
    cat "$work/lintian.log" >&2
    fail "lintian reports errors"
}
sed 's/^/lintian: /' "$work/lintian.log"

# The play needs the desktop tier's driver; without it the check says so and ends as skipped (77).
if [ ! -f "$root/tests/desktop/desktop.py" ]; then
    echo "package check: the package is sound; NOT played (no tests/desktop/desktop.py)" >&2
    exit 77
fi
# Installed, the program directory is not the player's to write.
chmod -R a-w "$program"
PYTHONPATH=$root/tests/desktop PYTHONDONTWRITEBYTECODE=1 \
    python3 "$root/tests/package/play_installed.py" "$tree" || fail "the unpacked game as a player"

echo "package check passed: $(basename "$deb")"
