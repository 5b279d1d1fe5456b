#!/usr/bin/env bash
# Runs a Windows program under Wine on the caller's X display, the way the end-to-end scripts run
# the native program: in the foreground, its exit status being the program's. A prefix's
# wineserver stays bound to the display it started on and each script brings its own X server,
# so whatever still runs in the prefix is ended first.
# Usage: wine_launch.sh PREFIX PROGRAM.exe [ARGUMENTS...]
export WINEPREFIX=${1:?usage: wine_launch.sh PREFIX PROGRAM.exe [ARGUMENTS...]}
export WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml=
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exec wine "${2:?usage: wine_launch.sh PREFIX PROGRAM.exe [ARGUMENTS...]}" "${@:3}"
