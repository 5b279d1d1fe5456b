#!/usr/bin/env bash
# The README's commands on a minimal Debian (debootstrap's minbase of RELEASE, from this machine's
# mirror), each in a fresh copy with only its own set-up group: scripts/run (its headless tour),
# scripts/package, scripts/web (until the page answers) and scripts/test, which on a later release
# also puts Debian 12's .deb through tests/package/deb.sh and runs the Wayland scenario on SDL 3.
# Prints each command's time and the packages its set-up added. Needs root and the network; not in
# CI (hours). Work: $FRESH_DEBIAN_DIR
# Usage: tests/fresh_debian.sh bookworm|trixie [run|package|web|test...]
set -euo pipefail
repo=$(realpath "$(dirname "$0")/..")
release=${1:?usage: fresh_debian.sh bookworm|trixie [run|package|web|test...]}
groups=("${@:2}")
((${#groups[@]})) || groups=(run package web test)
work=$(realpath -m "${FRESH_DEBIAN_DIR:-/var/tmp/ribbon-fresh}")
mirror=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -1)
mirror=${mirror:-http://deb.debian.org/debian}
command -v debootstrap >/dev/null || apt-get install -y -qq debootstrap >/dev/null
if [[ ! -f $work/$release.tar ]]; then
  rm -rf "$work/$release-base"
  debootstrap --variant=minbase "$release" "$work/$release-base" \
    "$mirror" >/dev/null
  tar -C "$work/$release-base" -cf "$work/$release.tar" .
  rm -rf "$work/$release-base"
fi

root=
cleanup() {
  [[ -n $root ]] || return 0
  for m in dev/shm dev/pts dev sys proc; do umount "$root/$m" 2>/dev/null || true; done
}
trap cleanup EXIT
# npm reaches its registry through this machine's certificate authorities, as Node does here.
clean_env=(env -i PATH=/usr/sbin:/usr/bin HOME=/root NODE_EXTRA_CA_CERTS=/etc/host-ca.crt)
in_root() { chroot "$root" "${clean_env[@]}" bash -c "cd /src && $1"; }
count() { in_root "dpkg-query -W -f='\${Status}\n' | grep -c 'install ok installed'"; }
page_answers() { curl -sf "$1/" | grep -q ribbon && curl -sfI "$1/ribbon.wasm" >/dev/null; }
logged() { in_root "$1" >>"$log" 2>&1 || { tail "$log"; exit 1; }; }

for group in "${groups[@]}"; do
  root=$work/$release-$group log=$work/$release-$group.log
  rm -rf --one-file-system "$root" "$log" && mkdir -p "$root/src"
  tar -C "$root" -xf "$work/$release.tar"
  cp /etc/resolv.conf "$root/etc/"
  # The suites an installed Debian has: its updates and security fixes (Firefox ESR comes by them).
  printf '%s\n' "deb $mirror $release main" "deb $mirror $release-updates main" \
    "deb ${mirror%/debian}/debian-security $release-security main" >"$root/etc/apt/sources.list"
  cp /etc/ssl/certs/ca-certificates.crt "$root/etc/host-ca.crt"
  git -C "$repo" archive HEAD | tar -C "$root/src" -x
  for m in proc sys dev dev/pts dev/shm; do mount --bind "/$m" "$root/$m"; done
  before=$(count) start=$(date +%s)
  case $group in
    run | package | test) logged "scripts/$group" ;;&
    package) cp "$root"/src/dist/*.deb "$work/$release.deb" && ls "$root/src/dist" ;;
    test)
      if [[ $release != bookworm ]]; then
        [[ -f $work/bookworm.deb ]] || "$0" bookworm package
        cp "$work/bookworm.deb" "$root/"
        logged "bash tests/package/deb.sh /bookworm.deb build/linux/resources/ribbon.ico"
        # The Wayland scenario again on SDL 3 under the SDL 2 ABI, as other distributions ship it.
        compat=/usr/lib/x86_64-linux-gnu/sdl2-compat
        logged "apt-get install -y -qq libsdl2-compat >/dev/null && export LD_LIBRARY_PATH=$compat &&
          ldd build/linux/ribbon | grep -q $compat/libSDL2 &&
          ctest --preset linux -R e2e_wayland --output-on-failure"
      fi
      ;;
    web)
      port=$((18000 + RANDOM % 1000))
      setsid chroot "$root" "${clean_env[@]}" bash -c "cd /src && scripts/web $port" >"$log" 2>&1 &
      server=$!
      until page_answers "http://127.0.0.1:$port"; do
        kill -0 "$server" 2>/dev/null || { tail "$log"; exit 1; }
        sleep 2
      done
      kill -- -"$server" && wait "$server" || true
      ;;
  esac
  echo "$release scripts/$group: $(($(date +%s) - start)) s, $(($(count) - before)) packages added"
  cleanup
  rm -rf --one-file-system "$root"
done
