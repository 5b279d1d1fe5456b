#!/usr/bin/env bash
# Runs a program under valgrind's memcheck, in the foreground: exit status 99 when memcheck saw an
# invalid access, a use of uninitialised values or a definite leak outside tests/valgrind.supp.
# The log goes to $E2E_ARTIFACTS/memcheck.log (or /tmp); its errors are copied to stderr.
# Usage: valgrind_launch.sh PROGRAM [ARGUMENTS...]
log=${E2E_ARTIFACTS:-/tmp}/memcheck.log
mkdir -p "$(dirname "$log")"
# Mesa's software rasteriser, with one worker thread: memcheck runs threads one at a time anyway.
# --keep-debuginfo names the frames of libraries that SDL has already unloaded at the leak check.
LIBGL_ALWAYS_SOFTWARE=1 LP_NUM_THREADS=1 valgrind --tool=memcheck --leak-check=full \
  --show-leak-kinds=definite --errors-for-leak-kinds=definite --error-exitcode=99 \
  --child-silent-after-fork=yes --keep-debuginfo=yes --gen-suppressions=all \
  --suppressions="$(dirname "$0")/../valgrind.supp" --log-file="$log" "$@"
status=$?
((status != 99)) || grep -A30 -E "Invalid|uninitialised|definitely lost" "$log" | head -n 120 >&2
exit $status
