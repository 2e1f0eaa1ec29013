#!/usr/bin/env bash
# Fuzzes the pure rules with clang's libFuzzer (AddressSanitizer, UBSan):
# each target of tests/fuzz/ runs for the given time on its seed corpus and
# its dictionary, and a table of the inputs run, the coverage and the
# findings closes the run.
#
#   scripts/fuzz.sh [-t SECONDS] [-j JOBS] [--build DIR] [--run-only] [--runs N] [TARGET...]
#
#   -t SECONDS   time per target (default 600)
#   -j JOBS      libFuzzer processes per target (default 1: one core)
#   --build DIR  the fuzz tree (default build/fuzz); --run-only: do not (re)build it
#   --runs N     stop each target after N inputs as well (the test run's short, repeatable pass,
#                which also starts from a fixed seed and an empty working corpus)
#
# New inputs are kept in DIR/corpus/<target>; anything found (crash-, leak-, timeout-,
# oom- files) in DIR/findings/<target>/. Exits non-zero when anything was found.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds=600
jobs=1
build="$root/build/fuzz"
run_only=0
runs=""
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    -t) seconds="$2"; shift 2 ;;
    -j) jobs="$2"; shift 2 ;;
    --build) build="$2"; shift 2 ;;
    --run-only) run_only=1; shift ;;
    --runs) runs="$2"; shift 2 ;;
    -h|--help) sed -n '2,17p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done
# The targets run from the log folder, so the tree is named absolutely.
build="$(realpath -m "$build")"
if [ ${#targets[@]} -eq 0 ]; then
  for source in "$root"/tests/fuzz/*.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

if [ "$run_only" -eq 0 ]; then
  command -v clang++ >/dev/null || { echo "fuzz: clang++ is not installed (scripts/setup.sh installs it)" >&2; exit 1; }
  cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
  ninja -C "$build" -j 2 >/dev/null || { ninja -C "$build" -j 1; exit 1; }
fi

# Each process gets its share of the time; a single input taking over 10 s is a hang.
common=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1)
found_any=0
rows=()
for name in "${targets[@]}"; do
  binary="$build/fuzz_$name"
  [ -x "$binary" ] || { echo "fuzz: no target $name in $build" >&2; exit 1; }
  corpus="$build/corpus/$name"
  findings="$build/findings/$name"
  log="$build/logs/$name.log"
  mkdir -p "$findings" "$(dirname "$log")"
  args=("${common[@]}" -max_total_time="$seconds" -artifact_prefix="$findings/")
  [ -f "$root/tests/fuzz/$name.dict" ] && args+=(-dict="$root/tests/fuzz/$name.dict")
  if [ -n "$runs" ]; then
    rm -rf "$corpus"
    args+=(-runs="$runs" -seed=1)
  fi
  mkdir -p "$corpus"
  before=$(find "$findings" -type f | wc -l)
  if [ "$jobs" -gt 1 ]; then
    args+=(-fork="$jobs" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  fi
  ( cd "$build/logs" && "$binary" "${args[@]}" "$corpus" "$root/tests/fuzz/corpus/$name" ) >"$log" 2>&1
  rc=$?
  after=$(find "$findings" -type f | wc -l)
  # Inputs run and coverage: the final statistics (or, with -fork, the last status line).
  inputs=$(grep -o 'stat::number_executed_units: *[0-9]*' "$log" | awk '{s += $2} END {print s + 0}')
  status=$(grep -E '^#[0-9]+' "$log" | tail -1)
  if [ "$inputs" -eq 0 ]; then inputs=$(sed -nE 's/^#([0-9]+).*/\1/p' <<<"$status"); fi
  cov=$(grep -oE 'cov: [0-9]+' <<<"$status" | awk '{print $2}')
  ft=$(grep -oE 'ft: [0-9]+' <<<"$status" | awk '{print $2}')
  corp=$(find "$corpus" -type f | wc -l)
  new=$((after - before))
  result="none"
  if [ "$new" -gt 0 ] || [ "$rc" -ne 0 ]; then
    found_any=1
    result="$new new in $findings (exit $rc, log $log)"
    grep -E 'ERROR: |runtime error|check failed' "$log" | head -3 >&2
  fi
  rows+=("$(printf '| %-12s | %6s s | %12s | %6s | %7s | %7s | %s |' "$name" "$seconds" "${inputs:-0}" "${cov:-?}" \
    "${ft:-?}" "$corp" "$result")")
done

printf '| %-12s | %8s | %12s | %6s | %7s | %7s | %s |\n' target time inputs cov features corpus findings
printf '|%s|%s|%s|%s|%s|%s|%s|\n' -------------- ---------- -------------- -------- --------- --------- ----------
printf '%s\n' "${rows[@]}"
exit "$found_any"
