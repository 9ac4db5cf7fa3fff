#!/usr/bin/env bash
# The English catalogue is up to date with the sources: lupdate run over a
# copy of resources/i18n/ks318_en.ts finds no text without its English form
# (a new tr() text not yet gathered, or one left unfinished) and none whose
# source text is gone. Exits 1 and names them when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)
copy=$(mktemp --suffix=.ts)
trap 'rm -f "$copy"' EXIT
cp resources/i18n/ks318_en.ts "$copy"
"$lupdate" -silent -locations none -source-language ja -target-language en src tools/ks318-cli -ts "$copy" >/dev/null
if grep -q 'type="unfinished"\|type="vanished"\|type="obsolete"' "$copy"; then
  echo "resources/i18n/ks318_en.ts is not up to date (run scripts/update-translations.sh and translate):"
  grep -B2 'type="unfinished"\|type="vanished"\|type="obsolete"' "$copy" | grep '<source>' | sed 's/^ *//'
  exit 1
fi
