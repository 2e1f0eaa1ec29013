#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix and locale.
# Used as CMake's cross-compiling emulator, so every Windows test goes through it.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
framlet_wine_prefix
# The first program of a Wine session starts the session's own processes
# (services, the desktop), which inherit its standard handles. Output goes
# through a file, not the caller's pipe, so the caller is not left waiting for
# an end of file that comes only when those processes end.
out=$(mktemp)
# A program ended from outside (ctest's time limit) still shows what it
# printed, which says where it stood; its Wine process is ended with it.
wine "$@" >"$out" 2>&1 </dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null; cat "$out"; echo "wine-run: ended from outside"; rm -f "$out"; exit 124' TERM INT
wait "$pid"
rc=$?
cat "$out"
rm -f "$out"
exit $rc
