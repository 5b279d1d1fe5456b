#!/usr/bin/env bash
# Checks a cross-built ribbon.exe without running it: a GUI-subsystem program that imports only
# system DLLs, carrying icon group 101 made of the two images of the generated ribbon.ico.
# Usage: windows_exe_check.sh <ribbon.exe> <ribbon.ico>
set -euo pipefail
exe=$1
ico=$2
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

headers=$("$objdump" -p "$exe")

grep -q '^Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI-subsystem program"

# Imports: every DLL must be a system one; the four the viewer calls into must be there.
mapfile -t dlls < <(sed -n 's/^\tDLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort)
echo "imports: ${dlls[*]}"
for dll in "${dlls[@]}"; do
  case $dll in
    kernel32.dll | user32.dll | gdi32.dll | opengl32.dll | msvcrt.dll | api-ms-win-crt-*.dll) ;;
    *) fail "imports $dll" ;;
  esac
done
for dll in kernel32.dll user32.dll gdi32.dll opengl32.dll; do
  printf '%s\n' "${dlls[@]}" | grep -qx "$dll" || fail "does not import $dll"
done

# Resources, from objdump's listing of the resource directory: one line per leaf,
# "<type> <name> <size>" in decimal.
resources=$(awk '
  /^[0-9a-f]+   Entry: ID:/ { type = $4; sub(",", "", type) }
  /^[0-9a-f]+     Entry: ID:/ { name = $4; sub(",", "", name) }
  /Leaf: Addr:/ { size = $6; sub(",", "", size); print type, name, size }
' <<<"$headers" | while read -r type name size; do echo $((type)) $((name)) $((size)); done)
echo "resources (type name size):"
sed 's/^/  /' <<<"$resources"

# The icon file's directory: two entries, each "<width> <height> <bits> <bytes>".
read_le() { od -An -t u"$2" -j "$1" -N "$2" "$ico" | tr -d ' '; }
[[ $(read_le 2 2) == 1 && $(read_le 4 2) == 2 ]] || fail "ribbon.ico is not an icon file of two images"
images=()
for i in 0 1; do
  at=$((6 + 16 * i))
  images+=("$(od -An -t u1 -j "$at" -N 1 "$ico" | tr -d ' ') \
$(od -An -t u1 -j $((at + 1)) -N 1 "$ico" | tr -d ' ') $(read_le $((at + 6)) 2) $(read_le $((at + 8)) 4)")
done
echo "ribbon.ico images (width height bits bytes): ${images[0]}; ${images[1]}"
[[ ${images[0]% *} == "32 32 4" ]] || fail "first image is not 32x32 at 4 bits per pixel"
[[ ${images[1]% *} == "32 32 8" ]] || fail "second image is not 32x32 at 8 bits per pixel"

# Group 101 lists two images (6 + 2 * 14 bytes); the icon images are those of the file.
grep -qx '14 101 34' <<<"$resources" || fail "no icon group 101 with two images"
icon_sizes=$(awk '$1 == 3 { print $3 }' <<<"$resources" | sort -n | xargs)
file_sizes=$(printf '%s\n' "${images[0]##* }" "${images[1]##* }" | sort -n | xargs)
[[ $icon_sizes == "$file_sizes" ]] || fail "icon images of $icon_sizes bytes, the file has $file_sizes"

if ((failures > 0)); then
  exit 1
fi
echo "ribbon.exe: GUI program, system imports only, icon group 101 of two 32x32 images (4 and 8 bpp)"
