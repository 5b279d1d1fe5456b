#!/usr/bin/env bash
# The Windows zip as a user gets it: unpacked into an empty folder it holds ribbon.exe, README.txt
# and LICENSE.txt, and the program, run from there under Wine, goes through the short end-to-end
# path.
# Usage: zip.sh PATH.zip WINEPREFIX (a prefix for Wine, created when missing)
set -euo pipefail
zip=$(realpath "${1:?usage: zip.sh PATH.zip WINEPREFIX}")
prefix=$(realpath -m "${2:?usage: zip.sh PATH.zip WINEPREFIX}")
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

if [[ ! -f $prefix/system.reg ]]; then
  WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= sh -c \
    'wine wineboot.exe --init && wineserver -w'
fi

# The short end-to-end scenario: the unpacked program's hint, window, picture, fog and Esc with
# exit status 0.
bash "$repo/tests/e2e/scenario.sh" --short bash "$repo/tests/e2e/wine_launch.sh" "$prefix" \
  "$folder/ribbon.exe" || fail "ribbon.exe from the zip"
echo "zip: passed"
