#!/usr/bin/env bash
# The Windows zip as a user gets it: unpacked into an empty folder it holds ribbon.exe, README.txt
# and LICENSE.txt; the program carries the project's version in its VERSIONINFO resource and, run
# from there under Wine, goes through the short end-to-end path.
# Usage: zip.sh PATH.zip VERSION WINEPREFIX (a prefix for Wine, created when missing)
set -euo pipefail
zip=$(realpath "${1:?usage: zip.sh PATH.zip VERSION WINEPREFIX}")
version=${2:?usage: zip.sh PATH.zip VERSION WINEPREFIX}
prefix=$(realpath -m "${3:?usage: zip.sh PATH.zip VERSION WINEPREFIX}")
repo=$(realpath "$(dirname "$0")/../..")
fail() {
  echo "zip: FAIL: $*" >&2
  exit 1
}

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
unzip -q "$zip" -d "$folder"
[[ $(ls "$folder" | xargs) == "LICENSE.txt README.txt ribbon.exe" ]] ||
  fail "the zip holds $(ls "$folder" | xargs)"

# Explorer's Properties show these: file and product version, as numbers and as text.
resources=$(x86_64-w64-mingw32-windres -i "$folder/ribbon.exe" -O rc)
numbers="${version//./, }, 0"
for expected in "FILEVERSION $numbers" "PRODUCTVERSION $numbers" \
  "VALUE \"FileVersion\", \"$version\"" "VALUE \"ProductVersion\", \"$version\"" \
  'VALUE "ProductName", "ribbon"' 'VALUE "FileDescription", "'; do
  grep -qF "$expected" <<<"$resources" || fail "no [$expected] in the VERSIONINFO resource"
done

if [[ ! -f $prefix/system.reg ]]; then
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= sh -c \
    'wine wineboot.exe --init && wineserver -w'
fi
launcher=$folder/ribbon-under-wine
printf '#!/bin/sh\nexec bash "%s" "%s" "%s"\n' "$repo/tests/e2e/wine_launch.sh" "$prefix" \
  "$folder/ribbon.exe" >"$launcher"
chmod +x "$launcher"

# The short end-to-end scenario: the unpacked program's hint, window, picture, fog and Esc with
# exit status 0.
bash "$repo/tests/e2e/scenario.sh" --short "$launcher" || fail "ribbon.exe from the zip"
echo "zip: passed"
