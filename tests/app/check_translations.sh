#!/usr/bin/env bash
# Usage: check_translations.sh LUPDATE SOURCE_DIR
# Runs lupdate over the window's code on copies of translations/*.ts and fails when the
# template lacks a text of the code, or a language lacks its translation of one.
set -euo pipefail
lupdate=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$root"/translations/*.ts "$work"/
folders=()
for folder in app settings core naming copying records run filelist desktop; do
  folders+=("$root/src/$folder")
done
"$lupdate" -locations none -no-ui-lines -extensions cpp,h "${folders[@]}" -ts "$work"/*.ts >/dev/null
status=0
if ! cmp -s "$root/translations/plenvoy.ts" "$work/plenvoy.ts"; then
  echo "translations/plenvoy.ts is not up to date: build the update_translations target" >&2
  diff "$root/translations/plenvoy.ts" "$work/plenvoy.ts" >&2 || true
  status=1
fi
for ts in "$work"/plenvoy_*.ts; do
  if grep -q 'type="unfinished"' "$ts"; then
    echo "$(basename "$ts"): texts without a translation:" >&2
    grep -B2 'type="unfinished"' "$ts" | grep '<source>' >&2
    status=1
  fi
done
exit $status
