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
