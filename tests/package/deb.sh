#!/usr/bin/env bash
# The Debian package as a user gets it: lintian finds no error or warning; installed with apt, the
# program, its menu entry, icons and manual page are where the desktop and man look, and the
# installed program runs; removed again, nothing of it is left.
# Usage: deb.sh PATH.deb ICON.ico (icon 101 as built, whose 256-colour image the icons show)
set -euo pipefail
usage="usage: deb.sh PATH.deb ICON.ico"
deb=$(realpath "${1:?$usage}") ico=$(realpath "${2:?$usage}")
repo=$(realpath "$(dirname "$0")/../..")
sudo=()
((EUID == 0)) || sudo=(sudo)
apt_get() {
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -qq -y -o DPkg::Lock::Timeout=300 "$@"
}
installed() { dpkg-query -W -f='${Status}' ribbon 2>/dev/null | grep -q 'install ok installed'; }
fail() { echo "deb: FAIL: $*" >&2 && exit 1; }

lintian --fail-on error,warning "$deb" || fail "lintian"

# A reader who installed the package first gets it back, from this .deb, when the test ends.
restore() { ! installed || apt_get purge ribbon >/dev/null; }
if installed; then
  echo "deb: ribbon is installed; removing it for the test, reinstalling $deb afterwards"
  apt_get purge ribbon >/dev/null
  restore() { apt_get install "$deb" >/dev/null; }
fi
trap restore EXIT
apt_get install "$deb" >/dev/null
files=$(dpkg -L ribbon)

[[ $(command -v ribbon) == /usr/bin/ribbon ]] || fail "ribbon is not /usr/bin/ribbon on the PATH"
entry=/usr/share/applications/ribbon.desktop
desktop-file-validate "$entry" || fail "$entry does not validate"
grep -qx 'Icon=ribbon' "$entry" && grep -qx 'Exec=ribbon' "$entry" || fail "$entry: Icon or Exec"
for size in 32 64 128; do
  png=/usr/share/icons/hicolor/${size}x$size/apps/ribbon.png
  [[ $(identify -format '%wx%h' "$png") == "${size}x$size" ]] || fail "$png is not $size x $size"
  same=$(convert "$png" -sample 32x32 png:- | compare -metric AE "$ico[1]" - null: 2>&1) || true
  [[ $same == 0 ]] || fail "$png is not icon 101 scaled up without blur ($same pixels differ)"
done
[[ $(man -w ribbon) == /usr/share/man/man1/ribbon.1.gz ]] || fail "man does not find ribbon(1)"

# The short end-to-end scenario: the installed program's hint, window, picture, fog and Esc with
# exit status 0; and the window's class, by which the desktop matches it to its menu entry.
E2E_WM_CLASS=$(sed -n 's/^StartupWMClass=//p' "$entry") bash "$repo/tests/e2e/scenario.sh" \
  --short /usr/bin/ribbon || fail "the installed ribbon"

apt_get purge ribbon >/dev/null
installed && fail "ribbon is still installed"
# Left behind: a file, or a directory no other package owns.
while read -r path; do
  [[ -d $path && -n $(dpkg -S "$path" 2>/dev/null) || ! -e $path && ! -L $path ]] ||
    fail "$path is left behind"
done <<<"$files"
echo "deb: passed"
