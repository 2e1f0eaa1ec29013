// Scroll-capture benchmark: the product's matcher and stitcher against the
// plain loop on blank, noise, text-like, periodic and half-blank pages, widths
// not divisible by 3 and a width change mid-run. Any differing shift or byte
// fails the run. Prints per-step matching times, the time of all appends for
// a capture of the tallest picture, and that capture's peak memory.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/host/scroll_test_pages.h"

namespace {

using Clock = std::chrono::steady_clock;
using scroll_pages::Kind;
using scroll_pages::Move;

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

long ProcessKb(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

bool Same(const scroll_pages::Outcome& a, const scroll_pages::Outcome& b) {
  return a.shifts == b.shifts && a.width == b.width && a.height == b.height && a.bits == b.bits;
}

int failures = 0;

// Matching alone: per step, product against the plain loop, same answer.
void MatchTable(int width, int height, int by) {
  std::printf("\nmatching per step, %d x %d, content moving %d rows per step\n", width, height, by);
  std::printf("%-11s %12s %12s %12s %8s\n", "page", "plain ms", "product ms", "product max", "shift");
  for (Kind kind : {Kind::Blank, Kind::Noise, Kind::Text, Kind::Periodic, Kind::HalfBlank, Kind::FewRows}) {
    const auto page = scroll_pages::MakePage(kind, width, height * 3, 17);
    framlet::scroll::ScrollMatcher matcher;
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    double plain = 0, product = 0, worst = 0;
    int shift = 0;
    const int steps = 8;
    for (int i = 0; i < steps; ++i) {
      const auto before = scroll_pages::View(page, i * by, width, height);
      const auto after = scroll_pages::View(page, i * by + by, width, height);
      auto t0 = Clock::now();
      const int expected = scroll_reference::Match(before.data(), after.data(), width, height);
      auto t1 = Clock::now();
      shift = matcher.FindShift(before.data(), rowBytes, after.data(), rowBytes, width, height);
      auto t2 = Clock::now();
      plain += Ms(t1 - t0);
      product += Ms(t2 - t1);
      worst = std::max(worst, Ms(t2 - t1));
      if (shift != expected) {
        std::printf("DIFFERENT SHIFT: %s step %d: %d, plain loop %d\n", scroll_pages::KindName(kind), i, shift,
                    expected);
        ++failures;
      }
    }
    std::printf("%-11s %12.2f %12.3f %12.3f %8d\n", scroll_pages::KindName(kind), plain / steps, product / steps, worst,
                shift);
  }
}

// Whole sessions compared byte for byte.
void SessionTable() {
  struct Case {
    const char* name;
    int pageWidth;
    std::vector<Move> moves;
  };
  auto steady = [](int n, int by, int w, int h) { return std::vector<Move>(n, Move{by, w, h, true, 0}); };
  std::vector<Move> widthChange = steady(6, 37, 1001, 700);
  for (int i = 0; i < 6; ++i) widthChange.push_back(Move{37, 1367, 700, true, 0});
  std::vector<Move> narrowing = steady(5, 37, 1367, 700);
  for (int i = 0; i < 5; ++i) narrowing.push_back(Move{37, 802, 700, true, 0});
  const Case cases[] = {
      {"1920x1080 by 40", 1920, steady(12, 40, 1920, 1080)},
      {"1001x700 by 23", 1001, steady(12, 23, 1001, 700)},
      {"1366x768 by 3", 1366, steady(12, 3, 1366, 768)},
      {"width 1001 -> 1367", 1367, widthChange},
      {"width 1367 -> 802", 1367, narrowing},
  };
  std::printf("\nwhole sessions (shifts and picture bytes)\n%-11s %-20s %8s %8s %8s\n", "page", "session", "steps",
              "rows", "result");
  for (const Case& c : cases) {
    for (Kind kind : {Kind::Blank, Kind::Noise, Kind::Text, Kind::Periodic, Kind::HalfBlank}) {
      const auto page = scroll_pages::MakePage(kind, c.pageWidth, 1600, 3);
      const auto product = scroll_pages::RunProduct(page, c.moves);
      const auto reference = scroll_pages::RunReference(page, c.moves);
      const bool same = Same(product, reference);
      if (!same) ++failures;
      std::printf("%-11s %-20s %8zu %8lld %8s\n", scroll_pages::KindName(kind), c.name, product.shifts.size(),
                  static_cast<long long>(product.height), same ? "same" : "DIFFERENT");
    }
  }
}

// All appends of a capture that grows to the tallest picture, 40 rows at a
// time from a 1920 x 1080 area, then the one bottom-up copy at delivery. Run
// in a child so its peak memory is its own.
void TallCapture() {
  const int width = 1920, height = 1080, by = 40;
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const long startKb = ProcessKb("VmRSS:");
    const size_t rowBytes = 3 * static_cast<size_t>(width);
    std::vector<uint8_t> before(rowBytes * height), fresh(rowBytes * height);
    for (size_t i = 0; i < before.size(); ++i) before[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
    for (size_t i = 0; i < fresh.size(); ++i) fresh[i] = static_cast<uint8_t>(i * 40503u >> 7);
    framlet::scroll::ScrollStitcher picture;
    auto t0 = Clock::now();
    picture.Start(before.data(), rowBytes, width, height);
    int steps = 0;
    double worst = 0;
    while (!picture.Full()) {
      auto s0 = Clock::now();
      picture.Append(fresh.data() + rowBytes * (steps % 20), rowBytes, width, by);
      worst = std::max(worst, Ms(Clock::now() - s0));
      ++steps;
    }
    auto t1 = Clock::now();
    const int64_t rows = picture.Height();
    const size_t finalBytes = framlet::scroll::DibStride(width) * static_cast<size_t>(rows);
    uint8_t* dib = new uint8_t[finalBytes];
    picture.TakeBottomUp(dib);
    auto t2 = Clock::now();
    const long peakKb = ProcessKb("VmHWM:") - startKb;
    const double finalMb = finalBytes / 1048576.0;
    const double stepMb = 2.0 * rowBytes * height / 1048576.0;
    std::printf("\ntallest picture: %d x %lld from %d appends of %d rows\n", width, static_cast<long long>(rows), steps,
                by);
    std::printf("  all appends        %9.1f ms (slowest append %.2f ms)\n", Ms(t1 - t0), worst);
    std::printf("  bottom-up delivery %9.1f ms\n", Ms(t2 - t1));
    std::printf("  peak memory        %9.1f MB = %.2f x final picture (%.1f MB) + two step pictures (%.1f MB)\n",
                peakKb / 1024.0, (peakKb / 1024.0 - stepMb) / finalMb, finalMb, stepMb);
    volatile uint8_t sink = dib[finalBytes / 2];
    (void)sink;
    delete[] dib;
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failures;
}

}  // namespace

int main() {
  MatchTable(1920, 1080, 40);
  MatchTable(1001, 700, 23);
  SessionTable();
  TallCapture();
  if (failures) {
    std::printf("\n%d difference(s) from the plain loop\n", failures);
    return 1;
  }
  std::printf("\nno differences from the plain loop\n");
  return 0;
}
