#!/usr/bin/env bash
# The real viewer under valgrind's memcheck on a private X server: the hint dismissed, drags, a
# spin, f, p, j, k and Esc. Passes when the program exits with 0 and memcheck saw no invalid
# access, no use of uninitialised values and no definite leak outside the suppressed libraries.
# Usage: valgrind.sh PATH_TO_RIBBON
set -uo pipefail
# Everything runs many times slower under memcheck: give the waits room.
E2E_WINDOW_DEADLINE=${E2E_WINDOW_DEADLINE:-120}
E2E_EXIT_DEADLINE=${E2E_EXIT_DEADLINE:-120}
source "$(dirname "$0")/lib.sh"
viewer=${1:?usage: valgrind.sh PATH_TO_RIBBON}
logs=$(e2e_artifact_dir valgrind)
memcheck_exit=99
e2e_start_xvfb

# Mesa's software rasteriser, with one worker thread: memcheck runs threads one at a time anyway.
# --keep-debuginfo names the frames of libraries that SDL has already unloaded at the leak check.
export LIBGL_ALWAYS_SOFTWARE=1 LP_NUM_THREADS=1
memcheck=(valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite
  --errors-for-leak-kinds=definite --error-exitcode=$memcheck_exit --child-silent-after-fork=yes
  --keep-debuginfo=yes --suppressions="$(dirname "$0")/../valgrind.supp" --gen-suppressions=all
  --log-file="$logs/memcheck.log")
e2e_launch_viewer "${memcheck[@]}" "$viewer"

# A drag across the middle that ends in motion (a spin), a second one, then a click that stops it.
geometry=($(e2e_window_geometry "$E2E_MAIN_WINDOW")) || e2e_fail "no geometry"
x=${geometry[0]} y=${geometry[1]} side=${geometry[2]}
e2e_drag $((x + side / 3)) $((y + side / 2)) $((x + side * 2 / 3)) $((y + side / 2)) 6
sleep 1
e2e_drag $((x + side / 2)) $((y + side / 3)) $((x + side / 2)) $((y + side * 2 / 3)) 6
sleep 1
e2e_click $((x + side / 2)) $((y + side / 2))

# Keys go to the window under the pointer (no window manager).
for key in f p j k f p; do
  xdotool key "$key"
  sleep 0.3
done
xdotool key Escape

e2e_wait_exit "$E2E_VIEWER_PID" || e2e_fail "the program still runs after Esc"
if ((E2E_EXIT_STATUS == memcheck_exit)); then
  grep -A30 -E "Invalid|uninitialised|definitely lost" "$logs/memcheck.log" | head -n 120 >&2
  e2e_fail "memcheck found errors; the full log is $logs/memcheck.log"
fi
((E2E_EXIT_STATUS == 0)) || e2e_fail "exit code $E2E_EXIT_STATUS after Esc ($logs/memcheck.log)"
grep -E "ERROR SUMMARY|definitely lost" "$logs/memcheck.log" >&2
e2e_log "valgrind: passed"
