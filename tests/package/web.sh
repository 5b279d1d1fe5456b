#!/usr/bin/env bash
# The web zip hosted as a visitor would host it: unpacked into an empty folder, served under
# /some/path/ by Python's http.server, and the page test run against it in Chromium; then the
# zip's files on a phone and offline.
# Usage: tests/package/web.sh <ribbon-<version>-web.zip>
set -euo pipefail
zip=$(realpath "$1")
root=$(mktemp -d)
server=
trap '[[ -n $server ]] && kill "$server"; rm -rf "$root"' EXIT
mkdir -p "$root/some/path"
unzip -q "$zip" -d "$root/some/path"
python3 -u -m http.server --bind 127.0.0.1 --directory "$root" 0 >"$root/server.log" 2>&1 &
server=$!
until port=$(sed -n 's/^Serving HTTP on .* port \([0-9]*\) .*/\1/p' "$root/server.log") &&
  [[ -n $port ]]; do sleep 0.1; done
node "$(dirname "$0")/../web/page_test.js" chromium "http://127.0.0.1:$port/some/path/"
node "$(dirname "$0")/../web/device_test.js" "$root/some/path"
