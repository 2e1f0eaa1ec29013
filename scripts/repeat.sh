#!/usr/bin/env bash
# Runs the Windows and end-to-end tiers again and again, as scripts/test.sh runs
# them (side by side on the test desktops, with a host build from scratch at
# the lowest priority beside them), and prints each run's result and time. A test
# that fails in any run fails by chance: a defect to find, not to retry.
#
#   scripts/repeat.sh <runs> [<ctest arguments>...]
#
# Needs the Windows tree built and its Wine prefix made (scripts/test.sh does
# both). Logs stay in build/repeat/<n>/.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
runs="${1:?usage: $0 <runs> [ctest arguments...]}"
shift
out="$root/build/repeat"
desktops="$root/build/win/desktops"
count="${FRAMLET_DESKTOPS_COUNT:-3}"
mkdir -p "$out"

host_pid=""
stop_host_build() {
  if [ -n "$host_pid" ]; then
    kill -- -"$host_pid" 2>/dev/null
    wait "$host_pid" 2>/dev/null
    host_pid=""
  fi
}
trap 'stop_host_build; scripts/desktops.sh stop "$desktops"' EXIT

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
scripts/desktops.sh start "$desktops" "$count" "$FRAMLET_WINEPREFIX" >"$out/desktops.log" 2>&1 ||
  { cat "$out/desktops.log"; exit 1; }
export FRAMLET_DESKTOPS="$desktops"
mapfile -t on_desktops < <(scripts/desktops.sh ctest-args "$desktops")

failed_runs=0
for n in $(seq 1 "$runs"); do
  mkdir -p "$out/$n"
  # The host tree built from scratch beside the run, in a process group of its
  # own so that it is ended whole when the run is over.
  rm -rf "$out/host-build"
  setsid bash -c 'cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DFRAMLET_SANITIZE=ON >/dev/null &&
    nice -n 19 cmake --build "$1" -j 2' _ "$out/host-build" >"$out/$n/host-build.log" 2>&1 &
  host_pid=$!
  start=$(date +%s)
  ctest --test-dir build/win --output-on-failure "${on_desktops[@]}" -j "$count" "$@" \
    >"$out/$n/ctest.txt" 2>&1
  rc=$?
  end=$(date +%s)
  stop_host_build
  cp build/win/Testing/Temporary/LastTest.log "$out/$n/full.txt" 2>/dev/null
  read -r p f s entries < <(python3 scripts/count_cases.py "$out/$n/full.txt")
  [ "$rc" -eq 0 ] || failed_runs=$((failed_runs + 1))
  printf 'run %2d: %4d s  %d passed, %d failed, %d skipped (%d entries)%s\n' "$n" $((end - start)) "$p" "$f" "$s" \
    "$entries" "$([ "$rc" -eq 0 ] || echo "  FAILED: $(grep -E '^\s+[0-9]+ - ' "$out/$n/ctest.txt" | tr -s ' ' | tr '\n' ';')")"
done
echo "$((runs - failed_runs)) of $runs runs passed"
[ "$failed_runs" -eq 0 ]
