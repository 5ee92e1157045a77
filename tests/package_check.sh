#!/bin/bash
# The Debian package as a packager checks it: what it installs, lintian, the desktop
# entry and the metainfo by their own validators, and a man page that names every option
# of --help. It is unpacked, never installed.
# Usage: package_check.sh QUORVANDELLE.deb
set -u
deb=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "package check: $*" >&2; exit 1; }
app=io.github.quorvandelle.Quorvandelle

listing=$(dpkg-deb -c "$deb") || fail "$deb does not read"
for file in usr/bin/quorvandelle usr/share/applications/$app.desktop usr/share/metainfo/$app.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/$app.png usr/share/man/man6/quorvandelle.6.gz \
    usr/share/doc/quorvandelle/README.md usr/share/doc/quorvandelle/copyright \
    usr/share/doc/quorvandelle/changelog.gz; do
    grep -q " \./$file\$" <<<"$listing" || fail "$deb does not install /$file"
done
dpkg-deb -f "$deb" Depends | grep -q libsdl2 || fail "$deb does not depend on SDL2"

errors=$(lintian --no-tag-display-limit "$deb" 2>&1 | grep '^E: ')
[ -z "$errors" ] || fail "lintian: $errors"

dpkg-deb -x "$deb" "$work" || fail "$deb does not unpack"
desktop-file-validate "$work/usr/share/applications/$app.desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$work/usr/share/metainfo/$app.metainfo.xml" >"$work/appstream.txt" 2>&1 ||
    { cat "$work/appstream.txt" >&2; fail "the metainfo does not validate"; }
grep -q "<release version=\"$(dpkg-deb -f "$deb" Version)\"" "$work/usr/share/metainfo/$app.metainfo.xml" ||
    fail "the metainfo's release is not the package's version"

# Every option of --help in the man page, as help2man wrote it (a hyphen escaped).
man=$(zcat "$work/usr/share/man/man6/quorvandelle.6.gz" | sed 's/\\-/-/g')
options=$("$work/usr/bin/quorvandelle" --help | grep -oE '^ +--[a-z-]+' | tr -d ' ')
[ -n "$options" ] || fail "--help names no option"
for option in $options; do
    grep -q -- "$option" <<<"$man" || fail "the man page does not name $option"
done
echo "package check: $(basename "$deb") installs its files, passes lintian, and its entry, metainfo and man page agree"
