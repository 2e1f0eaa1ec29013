#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's prefix and locale.
# Used as CMake's cross-compiling emulator, so every Windows test goes through it.
set -eu
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
framlet_wine_prefix
exec wine "$@"
