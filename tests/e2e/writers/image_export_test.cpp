// Files for decoders outside the platform, and writes that fail halfway. Built
// as their own program, run only by tests/e2e/test_image_files.py, which gives
// each case what it needs (an output folder it then decodes with ImageMagick,
// a file-size limit on the process) and checks the files afterwards. A case
// started without its set-up fails: it could check nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "capture/capture_engine.h"
#include "image_test_util.h"
#include "ui/gdi.h"

using namespace imagetest;

namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// A window-like picture: title bar, Korean text, buttons, a photo-like gradient.
CCapturedImage ScreenshotLike(int w, int h) {
  CCapturedImage image = MakeImage(Gradient(w, h));
  framlet::ui::MemoryDC dc(nullptr);
  framlet::ui::SelectGuard select(dc, image.Bitmap());
  RECT client = {8, 8, w - 8, h * 2 / 3};
  framlet::ui::Brush white(CreateSolidBrush(RGB(250, 250, 250)));
  FillRect(dc, &client, white);
  RECT title = {8, 8, w - 8, 36};
  framlet::ui::Brush blue(CreateSolidBrush(RGB(40, 90, 200)));
  FillRect(dc, &title, blue);
  framlet::ui::Font font(CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, HANGEUL_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                                     L"NanumGothic"));
  framlet::ui::SelectGuard selectFont(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  const wchar_t* caption = L"Framlet 캡처 테스트";
  TextOutW(dc, 16, 14, caption, static_cast<int>(wcslen(caption)));
  SetTextColor(dc, RGB(20, 20, 20));
  const wchar_t* body = L"화면을 캡처합니다. 0123456789 ABCDEF";
  for (int line = 0; line < 4; ++line) TextOutW(dc, 20, 48 + line * 22, body, static_cast<int>(wcslen(body)));
  framlet::ui::Brush grey(CreateSolidBrush(RGB(210, 214, 220)));
  for (int i = 0; i < 3; ++i) {
    RECT button = {w - 8 - (i + 1) * 90, h * 2 / 3 - 36, w - 8 - (i + 1) * 90 + 80, h * 2 / 3 - 10};
    FillRect(dc, &button, grey);
    FrameRect(dc, &button, blue);
  }
  return image;
}

void WriteRaw(const std::string& path, const Pixels& p) {
  std::string bytes;
  for (uint32_t c : p.rgb) {
    bytes += static_cast<char>(c >> 16 & 0xFF);
    bytes += static_cast<char>(c >> 8 & 0xFF);
    bytes += static_cast<char>(c & 0xFF);
  }
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ImageExport, WritesSamplesForOutsideDecoders) {
  const std::string out = Env("FRAMLET_IMAGE_OUT");
  ASSERT_FALSE(out.empty()) << "FRAMLET_IMAGE_OUT names the output folder";
  CCaptureEngine engine(nullptr);
  const CCapturedImage shot = ScreenshotLike(480, 320);
  WriteRaw(out + "\\shot.rgb", ReadImage(shot));
  ASSERT_EQ(engine.WriteBmpFile(shot, out + "\\shot.bmp"), 1);
  ASSERT_EQ(engine.WritePngFile(shot, out + "\\shot.png"), 1);
  ASSERT_EQ(engine.WriteGifFile(shot, out + "\\shot.gif"), 1);
  ASSERT_EQ(engine.WriteJpegFile(shot, out + "\\shot.jpg", 100), 1);
  ASSERT_EQ(engine.WriteJpegFile(shot, out + "\\shot_q50.jpg", 50), 1);

  const Pixels few = FewColours(97, 41, 256);
  WriteRaw(out + "\\few.rgb", few);
  ASSERT_EQ(engine.WriteGifFile(MakeImage(few), out + "\\few.gif"), 1);
  const Pixels odd = ManyColours(5, 3);
  WriteRaw(out + "\\odd.rgb", odd);
  ASSERT_EQ(engine.WriteBmpFile(MakeImage(odd), out + "\\odd.bmp"), 1);
}

TEST(ImageExport, WritesThatFailHalfwayLeaveNoFile) {
  // The process may write files of at most 4096 bytes here.
  const std::string limited = Env("FRAMLET_IMAGE_LIMITED");
  ASSERT_FALSE(limited.empty()) << "FRAMLET_IMAGE_LIMITED names the limited folder";
  CCaptureEngine engine(nullptr);
  const CCapturedImage big = MakeImage(ManyColours(200, 200));
  for (int format = 1; format <= 4; ++format) {
    const std::string path = limited + "\\big" + std::to_string(format);
    EXPECT_EQ(engine.WriteByFormat(big, path, format, 100), 0) << format;
    EXPECT_FALSE(Exists(path)) << format;
  }
  // A file within the limit is written.
  EXPECT_EQ(engine.WriteBmpFile(MakeImage(ManyColours(1, 1)), limited + "\\small.bmp"), 1);
  EXPECT_EQ(FileBytes(limited + "\\small.bmp").size(), 58u);
}

}  // namespace
