#!/usr/bin/env bash
# Long sessions of the real programs under Wine: the capture program's soaks
# (area captures, previews, region selections, scroll captures, continuous
# series, mode switches, option dialogs) and the updater's runs against the
# local server in every failure mode. Each prints a table; not part of the
# test run (about half an hour in all).
#
#   scripts/soak.sh [frame|updater]... [-- arguments for the soak scripts]
#
# Needs the Windows tree built (scripts/test.sh builds it). Uses the current
# X display, or a fresh Xvfb started and ended here. Logs in build/soak/.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
which=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do which+=("$1"); shift; done
[ "${1:-}" = "--" ] && shift
[ ${#which[@]} -gt 0 ] || which=(frame updater)
mkdir -p build/soak
export FRAMLET_WINEPREFIX="${FRAMLET_WINEPREFIX:-$root/build/win/wineprefix}"
failed=0
for soak in "${which[@]}"; do
  log="build/soak/$soak.log"
  echo "soak $soak: log in $log"
  scripts/with-display.sh python3 "tests/soak/soak_$soak.py" "$@" >"$log" 2>&1 || failed=1
  sed -n '/^| soak |\|^| updater run |/,$p' "$log" | grep '^|'
done
exit "$failed"
