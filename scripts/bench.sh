#!/usr/bin/env bash
# Builds and runs the colour reduction benchmark (native, -O2) against ImageMagick.
#   scripts/bench.sh [BUILD_DIR]          default: build-bench in the repository
# Pictures are drawn once into BUILD_DIR/images; a screen grab of an Xvfb desktop is added
# when Xvfb and Wine are installed (FRAMLET_BENCH_GRAB=0 skips it).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
images=$build/images
out=$build/out
mkdir -p "$images" "$out"

cmake -S "$root/bench" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" -j2 framlet_quantize_bench framlet_jpeg_bench framlet_scroll_bench >/dev/null

"$root/bench/make_images.sh" "$images"
if [ "${FRAMLET_BENCH_GRAB:-1}" != 0 ] && [ ! -f "$images/screen.png" ]; then
  "$root/bench/grab_screen.sh" "$images/screen.png" "$build/grab" ||
    echo "bench: no screen grab (see $build/grab)" >&2
fi

pictures=("$images/ui.png" "$images/web.png")
[ -f "$images/screen.png" ] && pictures+=("$images/screen.png")
pictures+=("$images/photo.png" "$images/photo-fullhd.png" "$images/gradient.png")
"$build/framlet_quantize_bench" --reps 5 --out "$out" \
  --tall "$images/ui.png" "$images/web.png" "${pictures[@]}"

echo
echo "JPEG encoder:"
"$build/framlet_jpeg_bench" "$images/ui.png" "$images/photo-fullhd.png" || true

echo
echo "Scroll capture:"
"$build/framlet_scroll_bench"

# Region selection and window picker under Wine, on a private 1920 x 1080 display;
# FRAMLET_BENCH_WIN names a Windows build whose libraries it links.
if [ -n "${FRAMLET_BENCH_WIN:-}" ]; then
  echo
  echo "Region selection, magnifier and window picker (Wine):"
  cmake -S "$root/bench" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DFRAMLET_WIN_BUILD="$FRAMLET_BENCH_WIN" >/dev/null
  ninja -C "$build/win" -j2 framlet_region_bench >/dev/null
  env -u DISPLAY FRAMLET_SCREEN=1920x1080x24 FRAMLET_WINEPREFIX="$FRAMLET_BENCH_WIN/wineprefix" \
    "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$build/win/framlet_region_bench.exe"
fi

# Preview (opening, painting, live resizing) and printing of a 1920 x 20000
# capture under Wine, printed to the private PDF queue; FRAMLET_BENCH_WIN names
# a Windows build (its framlet_win_bench target is built here).
if [ -n "${FRAMLET_BENCH_WIN:-}" ]; then
  echo
  echo "Preview and printing of a tall capture (Wine):"
  cmake --build "$FRAMLET_BENCH_WIN" --target framlet_win_bench -j2 >/dev/null
  cups="$build/cups"
  bash "$root/scripts/cups.sh" start "$cups" >/dev/null
  trap 'bash "$root/scripts/cups.sh" stop "$cups"' EXIT
  eval "$(bash "$root/scripts/cups.sh" env "$cups")"
  rm -f "$cups/out/print.pdf"
  env -u DISPLAY FRAMLET_SCREEN=1600x1200x24 FRAMLET_WINEPREFIX="$FRAMLET_BENCH_WIN/wineprefix" \
    "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$FRAMLET_BENCH_WIN/bench/win/framlet_win_bench.exe"
  job=$(grep Send-Document "$cups/log/access_log" | tail -1 | awk '{print $(NF-2)}')
  echo "print job sent to the queue: $((job / 1000000)) MB ($job bytes)"
  # The pictures the printed page holds: how many pieces and their finest
  # resolution, once the queue has written the whole file (at most a minute).
  pdf="$cups/out/print.pdf"
  for _ in $(seq 600); do
    tail -c 64 "$pdf" 2>/dev/null | grep -q '%%EOF' && break
    sleep 0.1
  done
  pdfimages -list "$pdf" | awk 'NR > 2 { n++; rows += $5; if ($13 > x) x = $13; if ($14 > y) y = $14 }
    END { printf "printed page: %d picture(s), %d rows in all, at most %d x %d pixels per inch\n", n, rows, x, y }'
fi

# Scroll capture under Wine: steps per second and each step's time in an
# 836 x 721 frame, then the peak memory from the first step to the open
# preview of a 1920 x 65,535 capture with review on; FRAMLET_BENCH_WIN names a
# Windows build (its framlet_scroll_deliver_bench target is built here).
if [ -n "${FRAMLET_BENCH_WIN:-}" ]; then
  echo
  echo "Scroll capture (Wine):"
  cmake --build "$FRAMLET_BENCH_WIN" --target framlet_scroll_deliver_bench -j2 >/dev/null
  scroll_bench="$FRAMLET_BENCH_WIN/bench/win/framlet_scroll_deliver_bench.exe"
  env -u DISPLAY FRAMLET_SCREEN=1600x1200x24 FRAMLET_WINEPREFIX="$FRAMLET_BENCH_WIN/wineprefix" \
    "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$scroll_bench" speed
  env -u DISPLAY FRAMLET_SCREEN=1920x1200x24 FRAMLET_WINEPREFIX="$FRAMLET_BENCH_WIN/wineprefix" \
    "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" "$scroll_bench" memory
fi
