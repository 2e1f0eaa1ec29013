#!/usr/bin/env bash
# Builds Framlet-setup.exe from the Windows build's programs with NSIS (makensis).
#   scripts/package.sh [build dir] [output file]
# The build dir defaults to build/win; FRAMLET5_EXE and FRAMLETUP_EXE may name
# other program files. FRAMLET_VERSION and FRAMLET_MODULE are what the
# installer writes as "ver" and "module" (defaults 5 and 1).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build/win}"
out="${2:-$build/Framlet-setup.exe}"
framlet5="${FRAMLET5_EXE:-$build/app/framlet5.exe}"
framletup="${FRAMLETUP_EXE:-$build/updater/framletup.exe}"
version="${FRAMLET_VERSION:-5}"
module="${FRAMLET_MODULE:-1}"

command -v makensis >/dev/null || { echo "package: makensis not found (apt-get install nsis)" >&2; exit 1; }
for f in "$framlet5" "$framletup"; do
  [ -f "$f" ] || { echo "package: missing $f (build the Windows programs first)" >&2; exit 1; }
done
case "$version$module" in
  *[!0-9]*) echo "package: version and module must be decimal numbers" >&2; exit 1 ;;
esac
mkdir -p "$(dirname "$out")"
makensis -V2 -NOCD \
  "-DVERSION=$version" "-DMODULE=$module" \
  "-DFRAMLET5=$(realpath "$framlet5")" "-DFRAMLETUP=$(realpath "$framletup")" \
  "-DOUTFILE=$(realpath -m "$out")" \
  "$root/scripts/installer.nsi"
echo "package: $out"
