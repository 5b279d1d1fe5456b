#!/usr/bin/env bash
# The Windows installer as a user runs it, under Wine: installed for the user alone, ribbon.exe and
# its two text files are in AppData\Local\Programs\ribbon, the Start menu's Programs has the
# shortcut with the icon, Apps & features has the version and publisher, and the program goes
# through the short end-to-end path; installed again, then replaced by a newer version made here
# from the same build tree, one copy is left; removed, nothing of it is left but empty folders.
# Usage: msi.sh PATH.msi VERSION WINEPREFIX WINDOWS-BUILD-TREE
set -euo pipefail
usage="usage: msi.sh PATH.msi VERSION WINEPREFIX WINDOWS-BUILD-TREE"
msi=$(realpath "${1:?$usage}") version=${2:?$usage} tree=$(realpath "${4:?$usage}")
export WINEPREFIX=$(realpath -m "${3:?$usage}") WINEDEBUG=-all
# Wine's own menu entries for the shortcut would land in the home folder.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
repo=$(realpath "$(dirname "$0")/../..")
fail() {
  echo "msi: FAIL: $*" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
user=$WINEPREFIX/drive_c/users/$(id -un)
folder=$user/AppData/Local/Programs/ribbon
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ribbon.lnk"
run() { wine "$@" || fail "$*"; }
msiexec() { run msiexec "$@" /qn && wineserver -w; }
# What stays once Wine has saved the registry: files of the prefix, lines naming ribbon, and
# ribbon's Apps & features entries as "version, publisher".
leftovers() { find "$WINEPREFIX/drive_c" -not -type d | sort && { grep -hiw ribbon "$WINEPREFIX"/*.reg || true; }; }
entries() {
  awk -F'"' '/^\[/ { ours = 0; key = $0 } $2 == "DisplayName" { ours = $4 == "ribbon" && key ~ /Uninstall/ }
    ours && $2 == "DisplayVersion" { shown = $4 } ours && $2 == "Publisher" { print shown ", " $4 }' \
    "$WINEPREFIX"/*.reg
}
installed() {
  [[ $(ls "$folder" | xargs) == "LICENSE.txt README.txt ribbon.exe" ]] || fail "$folder holds $(ls "$folder")"
  [[ $(entries) == "$1, the ribbon developers" ]] || fail "Apps & features shows [$(entries)], not $1"
}

[[ -f $WINEPREFIX/system.reg ]] || run wineboot.exe --init
wineserver -w
[[ -z $(entries) ]] || fail "ribbon is installed in $WINEPREFIX already (left by a failed run?)"
before=$(leftovers)
msiexec /i "$msi"
installed "$version"
# Shortcut and Apps & features show the icon the installer keeps, which is ribbon.ico.
icon=$(run reg query 'HKCU\Software\Microsoft\Installer\Products' /s | sed -n 's/.*ProductIcon *REG_SZ *//p' | tr -d '\r')
cmp "$(winepath -u "$icon")" "$tree/resources/ribbon.ico" || fail "the product icon $icon"
strings -el "$shortcut" | grep -qF "$icon" || fail "the shortcut's icon is not $icon"
strings -el "$shortcut" | grep -qF 'Programs\ribbon' || fail "the shortcut leads elsewhere"
bash "$repo/tests/e2e/scenario.sh" --short bash "$repo/tests/e2e/wine_launch.sh" "$WINEPREFIX" \
  "$folder/ribbon.exe" || fail "the installed ribbon.exe"

msiexec /i "$msi"
installed "$version"
newer=${version%.*}.$((${version##*.} + 1))
cpack -G External -D CPACK_PACKAGE_VERSION="$newer" --config "$tree/CPackConfig.cmake" -B "$work" >/dev/null
msiexec /i "$work/ribbon-$newer-win64.msi"
installed "$newer"

msiexec /x "$work/ribbon-$newer-win64.msi"
[[ ! -e $folder && $(leftovers) == "$before" ]] ||
  fail "left behind: $folder or $(diff <(echo "$before") <(leftovers))"
echo "msi: passed"
