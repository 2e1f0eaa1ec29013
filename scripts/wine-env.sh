# Sourced by the scripts that run Windows programs: one Wine prefix for the build,
# Korean locale (code page 949), no Wine debug chatter, no add-on install prompts.
# The prefix is made here and only here (framlet_wine_prefix), with the registry
# values below.
FRAMLET_ROOT="${FRAMLET_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
# A test that ctest runs on one of the test desktops (scripts/desktops.sh)
# takes that desktop's display, prefix and print server.
if [ -n "${CTEST_RESOURCE_GROUP_0_DESKTOPS:-}" ] && [ -n "${FRAMLET_DESKTOPS:-}" ]; then
  framlet_desktop="${CTEST_RESOURCE_GROUP_0_DESKTOPS#id:}"
  source "$FRAMLET_DESKTOPS/${framlet_desktop%%,*}/env"
fi
export WINEPREFIX="${FRAMLET_WINEPREFIX:-$FRAMLET_ROOT/build/win/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ko_KR.UTF-8
export LC_ALL=ko_KR.UTF-8
# Keep the Mono and Gecko installers from asking during wineboot.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;winemenubuilder.exe=d}"

# Registry values every program run in the prefix relies on, as a .reg file.
# A prefix remembers the text it was given (in .framlet-ready), so a value
# added or changed here reaches existing prefixes on their next use.
framlet_prefix_registry() {
  cat <<'EOF'
REGEDIT4

; No crash dialogs in test runs: a crashing program just ends.
[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

; Xvfb has no window manager. With managed windows, Wine waits about two
; seconds for one whenever a top-level window is hidden or destroyed; unmanaged
; windows are placed by Wine itself and change at once.
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
EOF
}

framlet_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    local wanted have=""
    wanted="$(framlet_prefix_registry)"
    [ -f "$WINEPREFIX/.framlet-ready" ] && have="$(cat "$WINEPREFIX/.framlet-ready")"
    [ "$have" = "$wanted" ] && exit 0
    local fresh=0
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      echo "wine: preparing prefix $WINEPREFIX" >&2
      WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      fresh=1
    else
      echo "wine: updating the registry of $WINEPREFIX" >&2
    fi
    local reg="$WINEPREFIX/framlet.reg"
    printf '%s\n' "$wanted" | sed 's/$/\r/' >"$reg"
    wine regedit /S "Z:${reg//\//\\}" >/dev/null 2>&1 || { echo "wine: registry import failed" >&2; exit 1; }
    # A new prefix has no server of its own yet: let it save and end before the
    # first real program starts. (An existing prefix may have a persistent
    # server serving a test run; the values are live in it already.)
    [ "$fresh" -eq 1 ] && wineserver -w
    printf '%s\n' "$wanted" >"$WINEPREFIX/.framlet-ready"
  ) 9>"$WINEPREFIX.lock"
}
