#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs a build into a fresh prefix and checks the layout a desktop and a user rely on:
# exactly these files, a valid desktop entry and AppStream metadata that name each other and
# the installed icon, installed programs that answer on the terminal, readable manuals, and the
# licence in Debian's machine-readable copyright file.
# Usage: check-install-layout.sh BUILD_DIR SOURCE_DIR APP_ID VERSION
set -euo pipefail
build=$1 source=$2 id=$3 version=$4

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

expected=$(sort <<LIST
bin/pixtint
bin/pixtint-convert
share/applications/$id.desktop
share/doc/pixtint/Readme.en.txt
share/doc/pixtint/Readme.txt
share/doc/pixtint/copyright
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/pixtint-convert.1.gz
share/man/man1/pixtint.1.gz
share/metainfo/$id.metainfo.xml
LIST
)
installed=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
    fail "installed files differ from the layout:"
    diff <(echo "$expected") <(echo "$installed") || true
fi

for program in pixtint pixtint-convert; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not executable"
done

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $id.metainfo.xml"

# The menu entry starts the installed program under Graphics, with a folder when one is opened
# with it, and shows the installed icon. It claims no kind of file: folders stay with the file
# manager. The metadata launches that entry, names this release and the licences.
grep -qx 'Exec=pixtint %f' "$desktop" || fail "the entry does not run 'pixtint %f'"
grep -qx "Icon=$id" "$desktop" || fail "the entry's icon is not $id"
grep -q '^Categories=Graphics;' "$desktop" || fail "the entry is not in the Graphics menu"
if grep -q '^MimeType=' "$desktop"; then fail "the entry claims file types"; fi
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metadata has no MIT licence"
grep -q '<metadata_license>CC0-1.0</metadata_license>' "$metainfo" ||
    fail "the metadata's own licence is not CC0-1.0"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata has no release $version"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metadata shows no screenshot"

for program in pixtint pixtint-convert; do
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version) ||
        fail "the installed $program --version failed"
    [ "$answer" = "$program $version" ] || fail "the installed $program --version said '$answer'"
done

for page in pixtint pixtint-convert; do
    title=$(tr '[:lower:]' '[:upper:]' <<<"$page")
    gzip -dc "$prefix/share/man/man1/$page.1.gz" | grep -q "^\.TH $title 1" ||
        fail "$page.1.gz is no manual page"
done

# Without a display the window program says so in one line and exits 1, without Qt's abort.
status=0
said=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/pixtint" 2>&1) || status=$?
[ "$status" -eq 1 ] && [ "$(wc -l <<<"$said")" -eq 1 ] ||
    fail "without a display pixtint ended with $status, saying: $said"

# Debian's machine-readable copyright: its format, and the MIT (Expat) licence whole.
copyright=$prefix/share/doc/pixtint/copyright
head -1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "the copyright file is not in the machine-readable format"
grep -qx 'License: Expat' "$copyright" || fail "the copyright file names no Expat (MIT) licence"
license_text=$(sed -n '/^Permission is hereby granted/,$p' "$source/LICENSE")
copyright_text=$(sed -n '/^ Permission is hereby granted/,$p' "$copyright" | sed 's/^ //; s/^\.$//')
[ "$license_text" = "$copyright_text" ] || fail "the copyright file's licence differs from LICENSE"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install layout: all checks passed"
