#!/usr/bin/env bash
# Every text in the sources must be in the French and Spanish catalogues with a translation: refreshes a
# copy of the catalogues from the sources and fails on any text still untranslated.
set -euo pipefail
cd "$(dirname "$0")/../.."

copy=$(mktemp -d)
trap 'rm -rf "$copy"' EXIT
mkdir -p "$copy/scripts" "$copy/resources"
cp -r src "$copy/"
cp -r resources/translations "$copy/resources/"
cp scripts/update-translations "$copy/scripts/"
"$copy/scripts/update-translations" >/dev/null 2>&1
if grep -n -B3 'type="unfinished"' "$copy"/resources/translations/*.ts; then
  echo "Untranslated texts: run scripts/update-translations and translate them." >&2
  exit 1
fi
