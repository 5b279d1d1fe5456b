#!/usr/bin/env bash
# The Debian package as a user gets it: lintian finds no error or warning; installed with apt, the
# program, its menu entry, icons and manual page are where the desktop and man look, and the
# installed program runs; removed again, nothing of it is left.
# Usage: deb.sh PATH.deb ICON.ico (icon 101 as built, whose 256-colour image the icons show)
set -euo pipefail
deb=$(realpath "${1:?usage: deb.sh PATH.deb ICON.ico}")
ico=$(realpath "${2:?usage: deb.sh PATH.deb ICON.ico}")
repo=$(realpath "$(dirname "$0")/../..")
sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
apt_get() {
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -qq -y -o DPkg::Lock::Timeout=300 "$@"
}
installed() { dpkg-query -W -f='${Status}' ribbon 2>/dev/null | grep -q 'install ok installed'; }
fail() {
  echo "deb: FAIL: $*" >&2
  exit 1
}

lintian --fail-on error,warning "$deb" || fail "lintian"

# A reader who installed the package first gets it back, from this .deb, when the test ends.
had_ribbon=0
if installed; then
  had_ribbon=1
  echo "deb: ribbon is installed; removing it for the test, reinstalling $deb afterwards"
  apt_get purge ribbon >/dev/null
fi
restore() {
  if ((had_ribbon)); then
    apt_get install "$deb" >/dev/null
  elif installed; then
    apt_get purge ribbon >/dev/null
  fi
}
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
while read -r path; do
  if [[ -d $path ]]; then
    [[ -n $(dpkg -S "$path" 2>/dev/null) ]] || fail "directory $path is left behind"
  elif [[ -e $path || -L $path ]]; then
    fail "$path is left behind"
  fi
done <<<"$files"
echo "deb: passed"
