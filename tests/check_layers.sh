#!/usr/bin/env bash
# Fails when a folder includes a header of a folder above it. The folder
# libraries catch an upward call at link time; this catches an upward include
# of a header alone (an inline function, a constant, a class layout) too.
set -u
root="${1:?source folder}"
declare -A allowed=(
  [core]="core"
  [ui]="core ui"
  [capture]="core ui capture"
  [windows]="core ui capture windows"
  [web]="core ui capture web"
  [app]="core ui capture windows web app"
  [updater]="core ui web updater"
)
bad=0
for folder in "${!allowed[@]}"; do
  [ -d "$root/$folder" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"$text")
    [ -d "$root/$target" ] || continue
    if ! grep -qw "$target" <<<"${allowed[$folder]}"; then
      echo "${file#$root/}:$line: $folder may not include $target: $text"
      bad=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[a-z_]+/' "$root/$folder" --include='*.h' --include='*.cpp')
done
exit $bad
