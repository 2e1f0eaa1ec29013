#!/usr/bin/env bash
# Sets up the machine, builds both trees and runs every test tier with ctest:
# host unit tests (native, sanitizers), Windows tests and end-to-end tests (Wine,
# Xvfb). Prints each step's time and the cases of each tier, and closes with
# "N passed, N failed" over all test cases.
#
# The Wine tiers mostly wait on Wine and the X server rather than compute, so
# the host tree is built and tested (at a lower priority) while they run, and
# the Wine prefix is made while the Windows tree builds.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${FRAMLET_JOBS:-2}"
results="$root/build/test-results"
mkdir -p "$results"
rm -f "$results"/*.txt

t0=$(date +%s)
# step <name> <command...>: runs the command and notes how long it took and
# when, in seconds since the start of the run.
step() {
  local name="$1" start end rc
  shift
  start=$(date +%s)
  "$@"
  rc=$?
  end=$(date +%s)
  printf '%-12s %4d s   (%3d s to %3d s)\n' "$name" $((end - start)) $((start - t0)) $((end - t0)) >>"$results/times.txt"
  echo "== $name: $((end - start)) s"
  return $rc
}

# tier <name> <build dir> <ctest arguments...>: one ctest run, its console
# output and its full log (every test's own output) kept under build/test-results.
tier() {
  local name="$1" dir="$2"
  shift 2
  rm -f "$dir/Testing/Temporary/LastTest.log"
  ctest --test-dir "$dir" --output-on-failure "$@" 2>&1 | tee "$results/$name.txt"
  cp "$dir/Testing/Temporary/LastTest.log" "$results/$name-full.txt" 2>/dev/null
  return 0
}
export -f tier step
export results t0

step setup bash scripts/setup.sh || exit 1

# A private print server whose PDF queue is the default printer of the Wine
# tiers (started before the prefix, which takes its printers from it), ended
# by its process id when the run ends.
scripts/cups.sh start "$root/build/win/cups" >"$results/cups.log" 2>&1 || { cat "$results/cups.log"; exit 1; }
trap 'scripts/cups.sh stop "$root/build/win/cups"' EXIT
eval "$(scripts/cups.sh env "$root/build/win/cups")"

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
step wine-prefix framlet_wine_prefix >"$results/wine-prefix.log" 2>&1 &
prefix_pid=$!

step build-mingw bash -c 'cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$1"' _ "$jobs" || exit 1

(
  nice -n 10 bash -c '
    step build-host bash -c "cmake --preset host >/dev/null && cmake --build --preset host -j $1" &&
      step host tier host build/host -j "$1"
  ' _ "$jobs"
) >"$results/host-run.log" 2>&1 &
host_pid=$!

wait "$prefix_pid" || { cat "$results/wine-prefix.log"; exit 1; }
# One wineserver serves both Wine tiers: kept up between tests (a server that is
# shutting down when the next test starts makes that test's first call hang),
# and ended with the Wine processes it serves before the display goes away.
scripts/with-display.sh bash -c '
  wineserver -p
  step windows tier windows build/win -E "^e2e\."
  step e2e tier e2e build/win -R "^e2e\."
  wineserver -k 2>/dev/null || true
'

echo
echo "== host build and tier (run beside the Wine tiers):"
wait "$host_pid"
cat "$results/host-run.log"

passed=0; failed=0; skipped=0
summary=""
for name in host windows e2e; do
  if [ -f "$results/$name-full.txt" ]; then
    read -r p f s < <(python3 scripts/count_cases.py "$results/$name-full.txt")
  else
    p=0; f=1; s=0
  fi
  # A ctest run that ran nothing, or whose own count disagrees, is a failure too.
  if ! grep -qE 'tests passed, 0 tests failed out of [1-9]' "$results/$name.txt" 2>/dev/null && [ "$f" -eq 0 ]; then
    f=1
  fi
  summary+=$(printf '%-12s %4d passed %3d failed %3d skipped' "$name" "$p" "$f" "$s")$'\n'
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
done
echo
echo "Cases by tier:"
printf '%s' "$summary"
echo
echo "Times:"
cat "$results/times.txt"
echo "total        $(($(date +%s) - t0)) s"
echo
if [ "$skipped" -gt 0 ]; then
  echo "${passed} passed, ${failed} failed, ${skipped} skipped"
else
  echo "${passed} passed, ${failed} failed"
fi
[ "$failed" -eq 0 ]
