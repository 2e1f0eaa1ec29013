// Benchmark of the JPEG encoder: encode time, file size and the error after
// decoding with ImageMagick, with ImageMagick's own JPEG at the same quality
// and colour sampling (standard Huffman tables) as a reference for the size.
// Prints a Markdown table.
//
//   framlet_jpeg_bench [--reps N] PICTURE.png...
//
// Pictures: bench/make_images.sh draws ui.png (a 1920x1080 desktop), photo-fullhd.png and others.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "capture/jpeg_encoder.h"

#include "bench/bench_pictures.h"

namespace {

using bench::Load;
using bench::Quote;
using bench::Rgb;
using bench::ToBgrx;

using Clock = std::chrono::steady_clock;

std::vector<uint8_t> ReadAll(FILE* f) {
  std::vector<uint8_t> bytes;
  uint8_t buffer[65536];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.insert(bytes.end(), buffer, buffer + n);
  return bytes;
}

struct Error {
  int worst = -1;
  double mean = 0, psnr = 0;
};

Error Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  Error e;
  if (a.size() != b.size() || a.empty()) return e;
  e.worst = 0;
  double sum = 0, squares = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const int d = std::abs(int(a[i]) - int(b[i]));
    e.worst = std::max(e.worst, d);
    sum += d;
    squares += double(d) * d;
  }
  e.mean = sum / double(a.size());
  const double mse = squares / double(a.size());
  e.psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : 99;
  return e;
}

std::string TempPath(const char* what) {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/framlet_jpeg_bench_" + std::to_string(getpid()) + what;
}

std::vector<uint8_t> DecodeJpeg(const std::vector<uint8_t>& file) {
  const std::string path = TempPath(".jpg");
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return {};
  std::fwrite(file.data(), 1, file.size(), f);
  std::fclose(f);
  FILE* pipe = popen(("convert " + Quote(path) + " -depth 8 rgb:- 2>/dev/null").c_str(), "r");
  std::vector<uint8_t> rgb = pipe ? ReadAll(pipe) : std::vector<uint8_t>();
  if (pipe) pclose(pipe);
  std::remove(path.c_str());
  return rgb;
}

// Size of ImageMagick's baseline JPEG of the picture at the quality and sampling.
size_t ReferenceSize(const std::string& picture, int quality) {
  const std::string path = TempPath("_ref.jpg");
  const std::string sampling = quality >= framlet::kJpegFullChromaQuality ? "1x1" : "2x2";
  const std::string command = "convert " + Quote(picture) +
                              " -strip -interlace none -define jpeg:optimize-coding=false -sampling-factor " +
                              sampling + " -quality " + std::to_string(quality) + " " + Quote(path) + " 2>/dev/null";
  if (std::system(command.c_str()) != 0) return 0;
  FILE* f = std::fopen(path.c_str(), "rb");
  const size_t size = f ? ReadAll(f).size() : 0;
  if (f) std::fclose(f);
  std::remove(path.c_str());
  return size;
}

}  // namespace

int main(int argc, char** argv) {
  int reps = 5;
  std::vector<std::string> pictures;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc) {
      reps = std::max(1, std::atoi(argv[++i]));
    } else {
      pictures.push_back(argv[i]);
    }
  }
  if (pictures.empty()) {
    std::fprintf(stderr, "usage: framlet_jpeg_bench [--reps N] PICTURE.png...\n");
    return 2;
  }
  std::printf(
      "| picture | size | quality | sampling | median ms | best ms | bytes | ImageMagick bytes | max err | "
      "mean err | PSNR dB |\n|---|---|---|---|---|---|---|---|---|---|---|\n");
  for (const std::string& picture : pictures) {
    Rgb image;
    if (!Load(picture, image)) {
      std::fprintf(stderr, "cannot read %s\n", picture.c_str());
      return 1;
    }
    const std::vector<uint8_t> bgrx = ToBgrx(image);
    for (int quality : {100, 90, 75, 50}) {
      std::vector<double> times;
      std::vector<uint8_t> file;
      for (int r = 0; r < reps; ++r) {
        const auto start = Clock::now();
        file = framlet::EncodeJpeg(bgrx.data(), image.width, image.height, image.width * 4, 4, quality);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
      }
      std::sort(times.begin(), times.end());
      const Error e = Compare(DecodeJpeg(file), image.bytes);
      const char* name = std::strrchr(picture.c_str(), '/');
      std::printf("| %s | %dx%d | %d | %s | %.1f | %.1f | %zu | %zu | %d | %.2f | %.1f |\n",
                  name ? name + 1 : picture.c_str(), image.width, image.height, quality,
                  quality >= framlet::kJpegFullChromaQuality ? "4:4:4" : "4:2:0", times[times.size() / 2],
                  times.front(), file.size(), ReferenceSize(picture, quality), e.worst, e.mean, e.psnr);
      std::fflush(stdout);
    }
  }
  return 0;
}
