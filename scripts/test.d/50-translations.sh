#!/usr/bin/env bash
# Every text in the sources should be in the French and Spanish catalogues with a translation: refreshes a
# copy of the catalogues from the sources and lists the texts still untranslated (a warning, not a failure,
# so that a new text does not stop the other checks).
set -euo pipefail
cd "$(dirname "$0")/../.."

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
mkdir -p "$copy/scripts" "$copy/resources"
cp -r src "$copy/"
cp -r resources/translations "$copy/resources/"
cp scripts/update-translations "$copy/scripts/"
"$copy/scripts/update-translations" >/dev/null 2>&1
missing=$( (grep -c 'type="unfinished"' "$copy"/resources/translations/*.ts || true) | awk -F: '{ n += $2 } END { print n + 0 }')
if [ "$missing" -gt 0 ]; then
  grep -n -B3 'type="unfinished"' "$copy"/resources/translations/*.ts | grep '<source>' | sort -u | head -40
  echo "WARNING: $missing untranslated catalogue entries: run scripts/update-translations and translate them." >&2
fi
exit 0
