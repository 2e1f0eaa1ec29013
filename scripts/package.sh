#!/usr/bin/env bash
# Builds Framlet-setup.exe from the Windows build's programs with NSIS (makensis).
#   scripts/package.sh [build dir] [output file]
# The build dir defaults to build/win; FRAMLET5_EXE and FRAMLETUP_EXE may name
# other program files. FRAMLET_VERSION and FRAMLET_MODULE are what the
# installer writes as "ver" and "module" (defaults 5 and 1).
#
# Signing: with FRAMLET_SIGN_CERT set, both programs, the uninstaller and the
# installer are signed (Authenticode, SHA-256) with osslsigncode:
#   FRAMLET_SIGN_CERT       the certificate (PEM, with its chain) or a PKCS#12 file (.p12/.pfx)
#   FRAMLET_SIGN_KEY        its private key (PEM); not with PKCS#12
#   FRAMLET_SIGN_PASS       the key's or the PKCS#12 file's password, if any
#   FRAMLET_SIGN_TIMESTAMP  an RFC 3161 time-stamp server (default below); "none"
#                           signs without a time stamp (offline test builds only)
# Without FRAMLET_SIGN_CERT nothing is signed.
#   scripts/package.sh --sign <file>   signs one file in place, as above
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

sign_file() {
  local file="$1" signed="$1.signed"
  local args=(sign -h sha256 -n "Framlet" -in "$file" -out "$signed")
  case "$FRAMLET_SIGN_CERT" in
    *.p12|*.pfx) args+=(-pkcs12 "$FRAMLET_SIGN_CERT") ;;
    *) args+=(-certs "$FRAMLET_SIGN_CERT" -key "${FRAMLET_SIGN_KEY:?package: FRAMLET_SIGN_KEY is needed with a PEM certificate}") ;;
  esac
  [ -z "${FRAMLET_SIGN_PASS:-}" ] || args+=(-pass "$FRAMLET_SIGN_PASS")
  local stamp="${FRAMLET_SIGN_TIMESTAMP:-http://timestamp.digicert.com}"
  [ "$stamp" = none ] || args+=(-ts "$stamp")
  rm -f "$signed"
  osslsigncode "${args[@]}" >/dev/null
  mv -f "$signed" "$file"
}

if [ "${1:-}" = --sign ]; then
  sign_file "$2"
  exit 0
fi
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
signing=()
if [ -n "${FRAMLET_SIGN_CERT:-}" ]; then
  command -v osslsigncode >/dev/null || { echo "package: osslsigncode not found (scripts/setup.sh)" >&2; exit 1; }
  # The programs are signed as copies; the build's own files stay as built.
  stage="$(mktemp -d)"
  trap 'rm -rf "$stage"' EXIT
  cp "$framlet5" "$stage/framlet5.exe"
  cp "$framletup" "$stage/framletup.exe"
  framlet5="$stage/framlet5.exe"
  framletup="$stage/framletup.exe"
  sign_file "$framlet5"
  sign_file "$framletup"
  signing=("-DSIGN=bash \"$root/scripts/package.sh\" --sign")
fi
makensis -V2 -NOCD \
  "-DVERSION=$version" "-DMODULE=$module" \
  "-DFRAMLET5=$(realpath "$framlet5")" "-DFRAMLETUP=$(realpath "$framletup")" \
  "-DICON=$root/resources/art/128.ico" \
  "-DOUTFILE=$(realpath -m "$out")" \
  "${signing[@]}" \
  "$root/scripts/installer.nsi"
echo "package: $out"
