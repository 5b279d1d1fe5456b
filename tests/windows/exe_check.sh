#!/usr/bin/env bash
# Checks a cross-built ribbon.exe without running it: a GUI-subsystem program that imports only
# system DLLs, carrying icon group 101 made of the two images of the generated ribbon.ico.
# Usage: exe_check.sh <ribbon.exe> <ribbon.ico>
set -euo pipefail
exe=$1
ico=$2
fail() { echo "FAIL: $*" && exit 1; }

headers=$("${OBJDUMP:-x86_64-w64-mingw32-objdump}" -p "$exe")
grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI-subsystem program"

# Every DLL must be a system one; the four the viewer calls into must be there.
dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]')
for dll in $dlls; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | msvcrt.dll | api-ms-win-crt-*.dll) ;;
    *) fail "imports $dll" ;;
  esac
done
for dll in kernel32.dll user32.dll gdi32.dll opengl32.dll; do
  grep -qx "$dll" <<<"$dlls" || fail "does not import $dll"
done

# The resource directory, one "<type> <name> <size>" line (decimal) per leaf.
resources=$(awk '
  /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(",", "", type) }
  /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(",", "", name) }
  /Leaf: Addr:/ { size = $6; sub(",", "", size); print type, name, size }
' <<<"$headers" | while read -r type name size; do echo $((type)) $((name)) $((size)); done)

# Group 101 lists two images (6 + 2 * 14 bytes); the icon images are the file's two, 4 and 8 bpp.
read_le() { od -An -t u"$2" -j "$1" -N "$2" "$ico" | tr -d ' '; }
[[ $(read_le 4 2) == 2 && $(read_le 12 2) == 4 && $(read_le 28 2) == 8 ]] ||
  fail "ribbon.ico does not hold a 4-bpp and an 8-bpp image"
grep -qx '14 101 34' <<<"$resources" || fail "no icon group 101 with two images"
icon_sizes=$(awk '$1 == 3 { print $3 }' <<<"$resources" | sort -n | xargs)
file_sizes=$(printf '%s\n' "$(read_le 14 4)" "$(read_le 30 4)" | sort -n | xargs)
[[ $icon_sizes == "$file_sizes" ]] || fail "icon images of $icon_sizes bytes, the file has $file_sizes"
