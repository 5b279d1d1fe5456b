#!/usr/bin/env bash
# The Windows zip and installer as a user gets them, under Wine: the zip holds ribbon.exe,
# README.txt and LICENSE.txt; the installer puts them into AppData\Local\Programs\ribbon with a
# Start-menu shortcut and an Apps & features entry, and the program runs the short end-to-end path;
# installed again, then replaced by a newer version, one copy is left; removed, no file is left.
# Usage: windows.sh ZIP MSI WINEPREFIX WINDOWS-BUILD-TREE (the tree the packages came from)
set -euo pipefail
usage="usage: windows.sh ZIP MSI WINEPREFIX WINDOWS-BUILD-TREE"
zip=$(realpath "${1:?$usage}") msi=$(realpath "${2:?$usage}") tree=$(realpath "${4:?$usage}")
export WINEPREFIX=$(realpath -m "${3:?$usage}") WINEDEBUG=-all
# Wine's own menu entries for the shortcut would land in the home folder.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
repo=$(realpath "$(dirname "$0")/../..")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
fail() { echo "windows: FAIL: $*" >&2 && exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
appdata=$WINEPREFIX/drive_c/users/$(id -un)/AppData
folder=$appdata/Local/Programs/ribbon
shortcut="$appdata/Roaming/Microsoft/Windows/Start Menu/Programs/ribbon.lnk"
msiexec() { wine msiexec "$@" /qn && wineserver -w || fail "msiexec $*"; }
# Once Wine has saved the registry: the prefix's files and registry lines naming ribbon, and
# ribbon's Apps & features entries as "version, publisher".
leftovers() { find "$WINEPREFIX/drive_c" -not -type d | sort && { grep -hiw ribbon "$WINEPREFIX"/*.reg || :; }; }
entries() {
  awk -F'"' '/^\[/ { key = $0; name = "" } $2 == "DisplayName" { name = $4 } $2 == "DisplayVersion" { shown = $4 }
    $2 == "Publisher" && name == "ribbon" && key ~ /Uninstall/ { print shown ", " $4 }' "$WINEPREFIX"/*.reg
}
holds() { [[ $(ls "$1" | xargs) == "LICENSE.txt README.txt ribbon.exe" ]] || fail "$1 holds $(ls "$1")"; }
installed() {
  holds "$folder" && [[ $(entries) == "$1, the ribbon developers" ]] || fail "Apps & features: $(entries)"
}

unzip -q "$zip" -d "$work/zip"
holds "$work/zip"
[[ -f $WINEPREFIX/system.reg ]] || wine wineboot.exe --init
wineserver -w
[[ -z $(entries) ]] || fail "ribbon is installed in $WINEPREFIX already (left by a failed run?)"
before=$(leftovers)
msiexec /i "$msi"
installed "$version"
cmp "$work/zip/ribbon.exe" "$folder/ribbon.exe" || fail "the zip and the installer differ"
strings -el "$shortcut" | grep -qF 'Programs\ribbon' || fail "no $shortcut to $folder"
bash "$repo/tests/e2e/scenario.sh" --short bash "$repo/tests/e2e/wine_launch.sh" "$WINEPREFIX" \
  "$folder/ribbon.exe" || fail "the installed ribbon.exe"

msiexec /i "$msi"
installed "$version"
newer=${version%.*}.$((${version##*.} + 1))
cpack -G External -D CPACK_PACKAGE_VERSION="$newer" --config "$tree/CPackConfig.cmake" -B "$work" \
  >/dev/null || fail "making version $newer"
msiexec /i "$work/ribbon-$newer-win64.msi"
installed "$newer"

msiexec /x "$work/ribbon-$newer-win64.msi"
[[ $(leftovers) == "$before" ]] || fail "left: $(diff <(echo "$before") <(leftovers))"
echo "windows: passed"
