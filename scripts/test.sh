#!/usr/bin/env bash
# Sets up the machine, builds both trees and runs every test tier with ctest:
# host unit tests (native, sanitizers), Windows tests and end-to-end tests (Wine, Xvfb).
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh || exit 1
jobs="${FRAMLET_JOBS:-2}"

cmake --preset host >/dev/null && cmake --build --preset host -j "$jobs" || exit 1
cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$jobs" || exit 1

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
framlet_wine_prefix

log="$root/build/test-results"
mkdir -p "$log"
# One wineserver serves the whole run: kept up between tests (a server that is
# shutting down when the next test starts makes that test's first call hang),
# and ended with the Wine processes it serves before the display goes away.
scripts/with-display.sh bash -c '
  wineserver -p
  ctest --preset host -j '"$jobs"' 2>&1 | tee "'"$log"'/host.txt"
  ctest --preset mingw 2>&1 | tee "'"$log"'/mingw.txt"
  wineserver -k 2>/dev/null || true
'

passed=0; failed=0
for f in "$log/host.txt" "$log/mingw.txt"; do
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$f" | tail -n 1)
  if [ -z "$line" ]; then echo "no result from ${f##*/}"; failed=$((failed + 1)); continue; fi
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
  passed=$((passed + total - bad)); failed=$((failed + bad))
done
echo
echo "${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
