#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks the layout a desktop and a user rely on:
# exactly these files, a valid desktop entry and AppStream metadata that name each other and
# the installed icon, installed programs that answer on the terminal, and a readable manual.
# Usage: check-install-layout.sh BUILD_DIR APP_ID VERSION
set -euo pipefail
build=$1 id=$2 version=$3

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
share/icons/hicolor/scalable/apps/$id.svg
share/man/man1/pixtint-convert.1.gz
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

# The menu entry starts the installed program, with a folder when one is opened with it, and
# shows the installed icon; the metadata launches that entry and names this release.
grep -qx 'Exec=pixtint %f' "$desktop" || fail "the entry does not run 'pixtint %f'"
grep -qx "Icon=$id" "$desktop" || fail "the entry's icon is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metadata has no release $version"
grep -q '<screenshot type="default">' "$metainfo" || fail "the metadata shows no screenshot"

for program in pixtint pixtint-convert; do
    answer=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$program" --version) ||
        fail "the installed $program --version failed"
    [ "$answer" = "$program $version" ] || fail "the installed $program --version said '$answer'"
done

manual=$prefix/share/man/man1/pixtint-convert.1.gz
gzip -dc "$manual" | grep -q '^\.TH PIXTINT-CONVERT 1' || fail "pixtint-convert.1.gz is no manual page"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "install layout: all checks passed"
