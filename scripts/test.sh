#!/usr/bin/env bash
# Sets up the machine, builds both trees and runs every test tier with ctest:
# host unit tests (native, sanitizers), Windows tests and end-to-end tests (Wine,
# Xvfb). Prints each step's time and the cases of each tier, and closes with
# "N passed, N failed" over all test cases.
#
# The Wine tiers mostly wait on Wine and the X server rather than compute, so
# they run side by side on several test desktops, the host tree is built (at
# the lowest priority) and tested while they run, and the Wine prefix is made while the
# Windows tree builds.
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
# tiers (started before the prefix, which takes its printers from it); the
# prefix made here is the template of the test desktops' prefixes.
scripts/cups.sh start "$root/build/win/cups" >"$results/cups.log" 2>&1 || { cat "$results/cups.log"; exit 1; }
desktops="$root/build/win/desktops"
trap 'scripts/desktops.sh stop "$desktops"; scripts/cups.sh stop "$root/build/win/cups"' EXIT
eval "$(scripts/cups.sh env "$root/build/win/cups")"

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
step wine-prefix framlet_wine_prefix >"$results/wine-prefix.log" 2>&1 &
prefix_pid=$!

step build-mingw bash -c 'cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$1"' _ "$jobs" || exit 1

# The host tree is built beside the Wine tiers (which mostly wait), at the
# lowest priority: it takes only the time they leave, on both cores.
(
  bash -c '
    step build-host bash -c "cmake --preset host >/dev/null && nice -n 19 cmake --build --preset host -j 2" &&
      step host tier host build/host -j "$1"
  ' _ "$jobs"
) >"$results/host-run.log" 2>&1 &
host_pid=$!

wait "$prefix_pid" || { cat "$results/wine-prefix.log"; exit 1; }
# The Windows and end-to-end tiers run side by side on several test desktops,
# each test owning one desktop while it runs (most of their time is spent
# waiting on Wine and the X server).
count="${FRAMLET_DESKTOPS_COUNT:-3}"
step desktops scripts/desktops.sh start "$desktops" "$count" "$FRAMLET_WINEPREFIX" >"$results/desktops.log" 2>&1 ||
  { cat "$results/desktops.log"; exit 1; }
export FRAMLET_DESKTOPS="$desktops"
mapfile -t on_desktops < <(scripts/desktops.sh ctest-args "$desktops")
step wine tier wine build/win "${on_desktops[@]}" -j "$count"

echo
echo "== host build and tier (run beside the Wine tiers):"
wait "$host_pid"
cat "$results/host-run.log"

passed=0; failed=0; skipped=0
summary=""
# Each tier: the ctest log it is counted from and the entries that are its own.
declare -A log_failed=()
for tier in "host host" "windows wine ^(win|build)\." "e2e wine ^e2e\."; do
  read -r name log pattern <<<"$tier"
  if [ -f "$results/$log-full.txt" ]; then
    read -r p f s entries < <(python3 scripts/count_cases.py "$results/$log-full.txt" "$pattern")
  else
    p=0; f=1; s=0; entries=0
  fi
  [ "$entries" -gt 0 ] || f=$((f + 1))  # a tier that ran nothing fails
  log_failed[$log]=$(( ${log_failed[$log]:-0} + f ))
  summary+=$(printf '%-12s %4d passed %3d failed %3d skipped' "$name" "$p" "$f" "$s")$'\n'
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
done
# A ctest run that failed without a failed case being counted (a crash before
# any output, a time-out) is a failure too.
for log in host wine; do
  if ! grep -qE 'tests passed, 0 tests failed out of [1-9]' "$results/$log.txt" 2>/dev/null && [ "${log_failed[$log]}" -eq 0 ]; then
    summary+=$(printf '%-12s %s' "$log" "ctest failed with no failed case counted")$'\n'
    failed=$((failed + 1))
  fi
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
