#!/usr/bin/env bash
# Installs everything the build, the run and the tests need. Idempotent and quiet:
# packages already present are not fetched again.
set -euo pipefail

pkgs=(
  cmake ninja-build make pkg-config
  g++ clang lld libclang-rt-14-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools
  wine wine64 libwine
  xvfb xauth x11-utils xdotool imagemagick
  locales fonts-nanum
  python3 python3-pil
  cups cups-bsd cups-client printer-driver-cups-pdf
  nsis osslsigncode
)

missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Korean locale (code page 949 under Wine).
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.utf8$'; then
  $SUDO sed -i 's/^# *ko_KR.UTF-8 UTF-8/ko_KR.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen || echo 'ko_KR.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
exit 0
