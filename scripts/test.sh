#!/usr/bin/env bash
# Sets up the machine, builds both trees and runs every test tier with ctest:
# host unit tests (native, sanitizers), Windows tests and end-to-end tests (Wine,
# Xvfb). Prints each step's time and the cases of each tier, and closes with
# "N passed, N failed" over all test cases.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
jobs="${FRAMLET_JOBS:-2}"
results="$root/build/test-results"
mkdir -p "$results"
rm -f "$results"/*.txt

# step <name> <command...>: runs the command and notes how long it took.
step() {
  local name="$1" start=$SECONDS rc
  shift
  "$@"
  rc=$?
  printf '%-12s %4d s\n' "$name" $((SECONDS - start)) >>"$results/times.txt"
  echo "== $name: $((SECONDS - start)) s"
  return $rc
}

build() {
  cmake --preset host >/dev/null && cmake --build --preset host -j "$jobs" &&
    cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$jobs"
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
export results

step setup bash scripts/setup.sh || exit 1
step build build || exit 1

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
step wine-prefix framlet_wine_prefix || exit 1

step host tier host build/host -j "$jobs"
# One wineserver serves both Wine tiers: kept up between tests (a server that is
# shutting down when the next test starts makes that test's first call hang),
# and ended with the Wine processes it serves before the display goes away.
scripts/with-display.sh bash -c '
  wineserver -p
  step windows tier windows build/win -E "^e2e\."
  step e2e tier e2e build/win -R "^e2e\."
  wineserver -k 2>/dev/null || true
'

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
echo
if [ "$skipped" -gt 0 ]; then
  echo "${passed} passed, ${failed} failed, ${skipped} skipped"
else
  echo "${passed} passed, ${failed} failed"
fi
[ "$failed" -eq 0 ]
