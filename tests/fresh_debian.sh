#!/usr/bin/env bash
# The README's commands on a minimal Debian 12 (debootstrap's minbase), each in a fresh copy of it
# with nothing installed but what its own command's set-up group brings: scripts/run (its headless
# tour), scripts/package (the .deb and the zip) and scripts/web (until the page answers). Prints
# each command's time and the number of packages its set-up added. Needs root and the network;
# not part of CI (about a quarter of an hour).
# Usage: tests/fresh_debian.sh [WORKDIR] [run|package|web...]
set -euo pipefail
repo=$(realpath "$(dirname "$0")/..")
work=$(realpath -m "${1:-/var/tmp/ribbon-fresh}")
shift || true
groups=("$@")
((${#groups[@]})) || groups=(run package web)
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
mkdir -p "$work"
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
if [[ ! -f $work/base.tar ]]; then
  rm -rf "$work/base"
  debootstrap --variant=minbase bookworm "$work/base" "${mirror:-http://deb.debian.org/debian}" \
    >/dev/null
  tar -C "$work/base" -cf "$work/base.tar" .
  rm -rf "$work/base"
fi

root=
cleanup() {
  [[ -n $root ]] || return 0
  for m in dev/pts dev proc; do umount "$root/$m" 2>/dev/null || true; done
}
trap cleanup EXIT
clean_env=(env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root)
in_root() { chroot "$root" "${clean_env[@]}" bash -c "cd /src && $1"; }
count() { in_root "dpkg-query -W -f='\${Status}\n' | grep -c 'install ok installed'"; }
page_answers() { curl -sf "$1/" | grep -q ribbon && curl -sfI "$1/ribbon.wasm" >/dev/null; }

for group in "${groups[@]}"; do
  root=$work/$group
  rm -rf --one-file-system "$root" && mkdir -p "$root/src"
  tar -C "$root" -xf "$work/base.tar"
  cp /etc/resolv.conf "$root/etc/"
  git -C "$repo" archive HEAD | tar -C "$root/src" -x
  for m in proc dev dev/pts; do mount --bind "/$m" "$root/$m"; done
  before=$(count)
  start=$(date +%s)
  case $group in
    run | package)
      in_root "scripts/$group" >"$work/$group.log" 2>&1 || { tail "$work/$group.log"; exit 1; }
      ;;
    web)
      port=$((18000 + RANDOM % 1000))
      setsid chroot "$root" "${clean_env[@]}" bash -c "cd /src && scripts/web $port" \
        >"$work/web.log" 2>&1 &
      server=$!
      until page_answers "http://127.0.0.1:$port"; do
        kill -0 "$server" 2>/dev/null || { tail "$work/web.log"; exit 1; }
        sleep 2
      done
      kill -- -"$server" && wait "$server" || true
      ;;
  esac
  echo "scripts/$group: $(($(date +%s) - start)) s, $(($(count) - before)) packages installed"
  [[ $group != package ]] || ls "$root/src/dist"
  cleanup
  rm -rf --one-file-system "$root"
done
