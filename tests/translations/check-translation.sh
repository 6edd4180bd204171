#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the window's English translation against the sources: every text the sources mark for
# translation is in the .ts (nothing added since the last update_translations, nothing left
# that the sources no longer hold), and every one of them is translated.
# Usage: check-translation.sh LUPDATE LRELEASE TS_FILE SOURCE_LIST INCLUDE_DIR
set -euo pipefail
lupdate=$1 lrelease=$2 ts=$3 sources=$4 include=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/current.ts"
# The same options as the update_translations target.
"$lupdate" -silent -locations none -no-obsolete -source-language ja_JP -target-language en \
    -I "$include" "@$sources" -ts "$work/current.ts"
if ! diff -u "$ts" "$work/current.ts"; then
    echo "FAIL: the translation is not up to date with the sources:" \
        "build the target update_translations and translate what it adds"
    exit 1
fi

report=$("$lrelease" "$work/current.ts" -qm "$work/current.qm")
echo "$report"
if grep -q 'untranslated' <<<"$report" || ! grep -q ' 0 unfinished' <<<"$report"; then
    echo "FAIL: texts without an English translation in $ts"
    exit 1
fi
echo "translation: complete and up to date"
