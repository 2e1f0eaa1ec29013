#!/usr/bin/env bash
# Test desktops: each one an X display (Xvfb), a Wine prefix with its own
# persistent wineserver, and a private print server, so that Windows-side
# tests on different desktops share nothing (windows, clipboard, registry,
# printed output) and can run side by side. Most of a Wine test's time is spent
# waiting on Wine and the X server, not computing.
#
#   scripts/desktops.sh start <folder> <count> <template prefix>
#   scripts/desktops.sh stop <folder>
#   scripts/desktops.sh ctest-args <folder>   the ctest arguments that run tests on them
#
# Desktop <n> lives in <folder>/<n>; <folder>/<n>/env holds its variables
# (DISPLAY, FRAMLET_WINEPREFIX, CUPS_SERVER, FRAMLET_PRINT_OUTPUT), which
# scripts/wine-env.sh and the end-to-end harness read for the desktop ctest
# hands a test (CTEST_RESOURCE_GROUP_0_DESKTOPS="id:<n>,slots:1").
# <folder>/resources.json lists the desktops as ctest resources; ctest-args
# prints ctest's option that names that file, with the file.
# Every process started here is ended by its process id.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

action="${1:-}"
folder="${2:-}"
if [ -z "$action" ] || [ -z "$folder" ]; then
  echo "usage: $0 start <folder> <count> <template prefix> | stop <folder>" >&2
  exit 2
fi

free_display() {
  local num=90
  while [ -e "/tmp/.X${num}-lock" ] || [ -e "/tmp/.X11-unix/X${num}" ]; do num=$((num + 1)); done
  echo "$num"
}

start_one() {
  local dir="$1" template="$2" num xvfb_pid
  mkdir -p "$dir"
  # Xvfb takes its display's lock itself; a display taken by another
  # starter in the meantime makes it exit, and the next number is tried.
  for _ in 1 2 3 4 5; do
    num="$(free_display)"
    Xvfb ":${num}" -screen 0 "${FRAMLET_SCREEN:-1600x1200x24}" -nolisten tcp -noreset >"$dir/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 100); do
      DISPLAY=":${num}" xdpyinfo >/dev/null 2>&1 && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.05
    done
    if DISPLAY=":${num}" xdpyinfo >/dev/null 2>&1 && kill -0 "$xvfb_pid" 2>/dev/null; then
      echo "$xvfb_pid" >"$dir/xvfb.pid"
      break
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  done
  [ -f "$dir/xvfb.pid" ] || { echo "desktops: no X display for $dir" >&2; return 1; }

  bash "$root/scripts/cups.sh" start "$dir/cups" >"$dir/cups.log" 2>&1 || { cat "$dir/cups.log" >&2; return 1; }

  # A copy of the template prefix (made once, by wineboot) costs seconds; a new
  # prefix per desktop would cost a wineboot each.
  rm -rf "$dir/wineprefix"
  cp -a "$template" "$dir/wineprefix"
  {
    echo "export DISPLAY=':${num}'"
    echo "export FRAMLET_WINEPREFIX='$dir/wineprefix'"
    bash "$root/scripts/cups.sh" env "$dir/cups"
  } >"$dir/env"
  # The desktop's own wineserver, kept up between tests (a server that is
  # shutting down when the next test starts makes that test's first call hang).
  (source "$dir/env" && source "$root/scripts/wine-env.sh" && wineserver -p) </dev/null >/dev/null 2>&1
}

stop_one() {
  local dir="$1"
  if [ -f "$dir/env" ]; then
    (source "$dir/env" && source "$root/scripts/wine-env.sh" && wineserver -k 2>/dev/null)
  fi
  bash "$root/scripts/cups.sh" stop "$dir/cups" >/dev/null 2>&1
  if [ -f "$dir/xvfb.pid" ]; then
    local pid
    pid="$(cat "$dir/xvfb.pid")"
    kill "$pid" 2>/dev/null
    for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$dir/xvfb.pid"
  fi
}

case "$action" in
  start)
    count="${3:-}"
    template="${4:-}"
    if [ -z "$count" ] || [ -z "$template" ] || [ ! -f "$template/system.reg" ]; then
      echo "usage: $0 start <folder> <count> <template prefix (made)>" >&2
      exit 2
    fi
    mkdir -p "$folder"
    folder="$(cd "$folder" && pwd)"
    # The template's registry is on disk once its server has ended.
    WINEPREFIX="$template" wineserver -w
    ids=""
    for n in $(seq 1 "$count"); do
      stop_one "$folder/$n"
      start_one "$folder/$n" "$template" || exit 1
      ids+="${ids:+, }{\"id\": \"$n\", \"slots\": 1}"
    done
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"desktops": [%s]}]}\n' "$ids" >"$folder/resources.json"
    ;;
  ctest-args)
    # The option as this ctest spells it in its own help.
    option="$(ctest --help | grep -o -e '--resource-[a-z]*-file' | head -n 1)"
    [ -n "$option" ] || { echo "this ctest hands out no resources" >&2; exit 1; }
    printf '%s\n%s\n' "$option" "$folder/resources.json"
    ;;
  stop)
    [ -d "$folder" ] || exit 0
    for dir in "$folder"/*/; do
      [ -d "$dir" ] && stop_one "${dir%/}"
    done
    ;;
  *)
    echo "usage: $0 start <folder> <count> <template prefix> | stop <folder>" >&2
    exit 2
    ;;
esac
