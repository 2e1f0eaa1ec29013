// Benchmark of the colour reduction and GIF encoder against ImageMagick's own 256-colour
// reduction. Pictures are read through ImageMagick's `convert`; prints a Markdown table.
//
//   framlet_quantize_bench [--reps N] [--out DIR] [--tall UI.png WEB.png] PICTURE.png...

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "capture/gif_encoder.h"
#include "capture/quantize.h"

#include "bench/bench_pictures.h"

namespace {

using bench::Load;
using bench::Quote;
using bench::Rgb;
using bench::ToBgrx;

using Clock = std::chrono::steady_clock;

size_t DistinctColors(const Rgb& image) {
    std::vector<uint64_t> seen(size_t(1) << 18, 0);
    size_t count = 0;
    for (size_t i = 0; i < image.bytes.size(); i += 3) {
        const uint32_t c = uint32_t(image.bytes[i]) << 16 | uint32_t(image.bytes[i + 1]) << 8 |
                           image.bytes[i + 2];
        uint64_t& word = seen[c >> 6];
        const uint64_t bit = uint64_t(1) << (c & 63);
        if (!(word & bit)) ++count, word |= bit;
    }
    return count;
}

Rgb Expand(const framlet::IndexedImage& indexed) {
    Rgb image;
    image.width = indexed.width;
    image.height = indexed.height;
    image.bytes.reserve(indexed.indices.size() * 3);
    for (uint8_t i : indexed.indices) {
        const uint32_t c = indexed.palette[i];
        image.bytes.push_back(uint8_t(c >> 16));
        image.bytes.push_back(uint8_t(c >> 8));
        image.bytes.push_back(uint8_t(c));
    }
    return image;
}

// Mean squared error per channel.
double MeanSquaredError(const Rgb& a, const Rgb& b) {
    if (a.bytes.size() != b.bytes.size()) return -1;
    double sum = 0;
    for (size_t i = 0; i < a.bytes.size(); ++i) {
        const double d = double(a.bytes[i]) - double(b.bytes[i]);
        sum += d * d;
    }
    return sum / double(a.bytes.size());
}

std::string Quality(double mse) {
    char text[64];
    if (mse < 0)
        std::snprintf(text, sizeof text, "n/a");
    else if (mse == 0)
        std::snprintf(text, sizeof text, "0 / lossless");
    else
        std::snprintf(text, sizeof text, "%.2f / %.2f dB", mse, 10 * std::log10(255.0 * 255.0 / mse));
    return text;
}

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// Wall time of a shell command, the best of `reps` runs; negative when it failed.
double TimeCommand(const std::string& command, int reps) {
    double best = 1e30;
    for (int i = 0; i < reps; ++i) {
        const auto start = Clock::now();
        const int status = std::system(command.c_str());
        const double ms = Milliseconds(Clock::now() - start);
        if (status != 0) return -1;
        best = std::min(best, ms);
    }
    return best;
}

struct OurRun {
    framlet::IndexedImage image;
    double ms = 1e30;
};

OurRun RunOurs(const std::vector<uint8_t>& bgrx, int width, int height, bool dither, int reps) {
    OurRun run;
    framlet::QuantizeOptions options;
    options.dither = dither;
    for (int i = 0; i < reps; ++i) {
        const auto start = Clock::now();
        framlet::IndexedImage image =
            framlet::QuantizeTo256(bgrx.data(), width, height, width * 4, 4, options);
        run.ms = std::min(run.ms, Milliseconds(Clock::now() - start));
        run.image = std::move(image);
    }
    return run;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

long ProcStatusKb(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::strlen(field));
    return -1;
}

// A long scroll capture: the two pictures stacked in turn to 1920 x 20000.
void BenchTall(const std::string& uiPath, const std::string& webPath, const std::string& outDir) {
    Rgb ui, web;
    if (!Load(uiPath, ui) || !Load(webPath, web)) {
        std::printf("\nscroll capture: cannot read %s or %s\n", uiPath.c_str(), webPath.c_str());
        return;
    }
    const int width = 1920, height = 20000;
    std::vector<uint8_t> bgrx(size_t(width) * height * 4, 0xFF);
    int y = 0;
    for (int tile = 0; y < height; ++tile) {
        const Rgb& src = tile % 2 ? web : ui;
        for (int sy = 0; sy < src.height && y < height; ++sy, ++y) {
            for (int x = 0; x < width && x < src.width; ++x) {
                const uint8_t* p = &src.bytes[(size_t(sy) * src.width + x) * 3];
                uint8_t* q = &bgrx[(size_t(y) * width + x) * 4];
                q[0] = p[2], q[1] = p[1], q[2] = p[0];
            }
        }
    }
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = ProcStatusKb("VmRSS:");
    const auto start = Clock::now();
    const framlet::IndexedImage image =
        framlet::QuantizeTo256(bgrx.data(), width, height, width * 4, 4);
    const double quantizeMs = Milliseconds(Clock::now() - start);
    const auto encodeStart = Clock::now();
    const std::vector<uint8_t> gif = framlet::EncodeGif89a(image);
    const double encodeMs = Milliseconds(Clock::now() - encodeStart);
    const long peak = ProcStatusKb("VmHWM:");
    WriteFile(outDir + "/scroll.ours.gif", gif);
    std::printf("\nScroll capture 1920 x 20000 (UI and web page stacked): reduce %.0f ms, GIF "
                "encode %.0f ms, %zu KB; peak memory above the %ld MB bitmap already held: "
                "%ld MB (the 38 MB index image included)\n",
                quantizeMs, encodeMs, gif.size() / 1024, before / 1024,
                (peak - before) / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    int reps = 5;
    std::string outDir = ".";
    std::string tallUi, tallWeb;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reps" && i + 1 < argc) {
            reps = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--out" && i + 1 < argc) {
            outDir = argv[++i];
        } else if (arg == "--tall" && i + 2 < argc) {
            tallUi = argv[++i];
            tallWeb = argv[++i];
        } else {
            inputs.push_back(arg);
        }
    }

    std::printf("| picture | size | colours | ours, dithered: MSE / PSNR | ms | ours, no dither: "
                "MSE / PSNR | ms | IM -colors 256: MSE / PSNR | ms | IM -dither None -colors "
                "256: MSE / PSNR | ms | our GIF: encode ms, KB |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const std::string& path : inputs) {
        Rgb source;
        if (!Load(path, source)) {
            std::printf("| %s | cannot read |\n", path.c_str());
            continue;
        }
        const std::string name = BaseName(path);
        const std::vector<uint8_t> bgrx = ToBgrx(source);
        const OurRun dithered = RunOurs(bgrx, source.width, source.height, true, reps);
        const OurRun plain = RunOurs(bgrx, source.width, source.height, false, reps);

        double encodeMs = 1e30;
        std::vector<uint8_t> gif;
        for (int i = 0; i < reps; ++i) {
            const auto start = Clock::now();
            gif = framlet::EncodeGif89a(dithered.image);
            encodeMs = std::min(encodeMs, Milliseconds(Clock::now() - start));
        }
        const std::string gifPath = outDir + "/" + name + ".ours.gif";
        WriteFile(gifPath, gif);
        // The file as another reader sees it must be exactly our reduced picture.
        Rgb reread;
        const Rgb ours = Expand(dithered.image);
        const bool gifOk = Load(gifPath, reread) && reread.bytes == ours.bytes;

        const std::string in = Quote(path);
        const std::string noop = "convert " + in + " -depth 8 " + Quote(outDir + "/noop.png");
        const double noopMs = TimeCommand(noop, 3);
        struct Theirs {
            const char* options;
            const char* suffix;
            double mse = -1, ms = -1;
        } theirs[] = {{"-colors 256", "im"}, {"-dither None -colors 256", "im-nodither"}};
        for (Theirs& t : theirs) {
            const std::string out = outDir + "/" + name + "." + t.suffix + ".png";
            const double ms = TimeCommand("convert " + in + " " + t.options + " -depth 8 " +
                                              Quote(out),
                                          3);
            Rgb reduced;
            if (ms >= 0 && Load(out, reduced)) {
                t.mse = MeanSquaredError(source, reduced);
                t.ms = ms - noopMs;
            }
        }

        std::printf("| %s | %dx%d | %zu | %s | %.1f | %s | %.1f | %s | %.0f | %s | %.0f | %.1f, %zu%s |\n",
                    name.c_str(), source.width, source.height, DistinctColors(source),
                    Quality(MeanSquaredError(source, ours)).c_str(), dithered.ms,
                    Quality(MeanSquaredError(source, Expand(plain.image))).c_str(), plain.ms,
                    Quality(theirs[0].mse).c_str(), theirs[0].ms, Quality(theirs[1].mse).c_str(),
                    theirs[1].ms, encodeMs, gif.size() / 1024,
                    gifOk ? "" : " (GIF does NOT read back equal!)");
        std::fflush(stdout);
    }
    if (!tallUi.empty()) BenchTall(tallUi, tallWeb, outDir);
    return 0;
}
