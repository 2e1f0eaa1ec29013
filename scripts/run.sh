#!/usr/bin/env bash
# Sets up the machine, builds the programs and starts "framlet5.exe -s" under Wine
# from a fresh program folder (build/run). Uses the current X display, or starts
# a private Xvfb when there is none and keeps it until the program ends.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw -j "${FRAMLET_JOBS:-2}"

run="$root/build/run"
mkdir -p "$run"
cp build/win/app/framlet5.exe "$run/"
[ -f build/win/updater/framletup.exe ] && cp build/win/updater/framletup.exe "$run/"

export FRAMLET_WINEPREFIX="$root/build/win/wineprefix"
source scripts/wine-env.sh
framlet_wine_prefix

start() {
  echo "framlet5: running from $run (display $DISPLAY)."
  echo "  To see it: DISPLAY=$DISPLAY import -window root /tmp/framlet.png   (then open the PNG)"
  echo "  Stop it with Ctrl+C."
  cd "$run" && wine ./framlet5.exe -s
}

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  start
else
  export -f start
  export run
  scripts/with-display.sh bash -c start
fi
