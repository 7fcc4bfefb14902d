#!/usr/bin/env bash
# The Debian package end to end: cpack builds it from the plain build, it is
# unpacked into a temporary root, every program there answers -h with the
# synopsis its manual page shows, the desktop entry and icons are in place, and
# lintian finds no error in it.
#
# Usage: package_test.sh BUILD_FOLDER
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! (cd "$build" && cpack -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    exit 1
fi
deb=$(ls "$work"/out/polmera_*.deb)
dpkg-deb -x "$deb" "$work/root"
root=$work/root/usr

failed=0
fail() { echo "FAIL: $*"; failed=1; }
for program in Stripline bake PolmeraViewer Tidegate hole merge; do
    "$root/bin/$program" -h >"$work/help" 2>&1 || fail "$program -h ended with status $?"
    synopsis=$(sed -n 's/^\(Usage\|How to use the Polmera Viewer\): [^ ]*\(.*\)$/\2/p' "$work/help" | head -n 1 | tr -s ' ')
    page="$root/share/man/man1/$program.1.gz"
    [ -f "$page" ] || { fail "no manual page for $program"; continue; }
    MANWIDTH=250 man -l "$page" 2>/dev/null | tr -s ' ' | grep -qF -- "$program$synopsis" ||
        fail "the manual page of $program does not show: $program$synopsis"
done
[ -x "$root/bin/Polmera" ] || fail "Polmera is not installed"
[ -f "$root/share/man/man1/Polmera.1.gz" ] || fail "no manual page for Polmera"
grep -q '^Exec=Polmera$' "$root/share/applications/polmera.desktop" || fail "no desktop entry"
for size in 16 32 48 64 128 256; do
    [ -f "$root/share/icons/hicolor/${size}x${size}/apps/polmera.png" ] || fail "no ${size}px icon"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on Qt 6 Widgets"

if ! lintian --fail-on error "$deb" >"$work/lintian" 2>&1; then
    cat "$work/lintian"
    fail "lintian reports errors"
fi
grep '^W:' "$work/lintian" || true
[ "$failed" = 0 ] && echo "The package installs and every program answers from it."
exit "$failed"
