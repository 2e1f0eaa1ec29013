# Sourced by the scripts that run Windows programs: one Wine prefix for the build,
# Korean locale (code page 949), no Wine debug chatter, no add-on install prompts.
FRAMLET_ROOT="${FRAMLET_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
export WINEPREFIX="${FRAMLET_WINEPREFIX:-$FRAMLET_ROOT/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export LANG=ko_KR.UTF-8
export LC_ALL=ko_KR.UTF-8
# Keep the Mono and Gecko installers from asking during wineboot.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree=;winemenubuilder.exe=d}"

framlet_wine_prefix() {
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.framlet-ready" ]; then
      echo "wine: preparing prefix $WINEPREFIX" >&2
      WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d" wineboot -i >/dev/null 2>&1 || true
      wineserver -w
      # No crash dialogs in test runs: a crashing program just ends.
      wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.framlet-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
}
