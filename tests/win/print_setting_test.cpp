// The print settings dialog and what it prints. The dialog's controls and the
// orientation pair are worked from a second thread; printed pages go to the
// default printer, the private PDF queue of scripts/cups.sh (its output
// folder in FRAMLET_PRINT_OUTPUT), and are measured by rasterising the PDF.
#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/command_ids.h"
#include "dialog_test_util.h"
#include "test_windows.h"
#include "win_test_util.h"
#include "windows/print_rules.h"
#include "windows/print_setting_dlg.h"

using wintest::Checked;
using wintest::Click;

namespace {

constexpr wchar_t kTitle[] = L"인쇄설정";
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr int kRasterDpi = 100;

// A w x h picture in `fill` with a `markSize` square of `mark` in its top-left corner.
HBITMAP MakePicture(int w, int h, COLORREF fill, COLORREF mark, int markSize) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH fillBrush = CreateSolidBrush(fill);
  HBRUSH markBrush = CreateSolidBrush(mark);
  RECT all = {0, 0, w, h};
  RECT corner = {0, 0, markSize, markSize};
  FillRect(memory, &all, fillBrush);
  FillRect(memory, &corner, markBrush);
  DeleteObject(fillBrush);
  DeleteObject(markBrush);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

struct Pixels {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool Near(int x, int y, COLORREF c) const {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return std::abs(p[0] - GetRValue(c)) < 60 && std::abs(p[1] - GetGValue(c)) < 60 &&
           std::abs(p[2] - GetBValue(c)) < 60;
  }
};

// The bounding box of the pixels near colour c, in raster pixels.
RECT BoxOf(const Pixels& page, COLORREF c) {
  RECT box = {page.width, page.height, -1, -1};
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (page.Near(x, y, c)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

double RasterMm(LONG pixels) {
  return pixels * 25.4 / kRasterDpi;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The PDF queue's output folder as Unix and as Windows path.
class PdfQueue {
 public:
  PdfQueue() {
    char folder[MAX_PATH] = {};
    if (GetEnvironmentVariableA("FRAMLET_PRINT_OUTPUT", folder, sizeof folder)) unix_ = folder;
    windows_ = "Z:" + unix_;
    for (char& ch : windows_)
      if (ch == '/') ch = '\\';
  }
  bool Known() const { return !unix_.empty(); }
  std::string Pdf() const { return windows_ + "\\print.pdf"; }
  void Clear() const {
    for (const char* name : {"\\print.pdf", "\\page.ppm", "\\page.done"}) DeleteFileA((windows_ + name).c_str());
  }
  // A complete PDF is there: the queue writes the file as the job runs.
  bool PdfComplete() const {
    const std::string bytes = wintest::FileBytes(Pdf());
    return bytes.size() > 64 && bytes.find("%%EOF", bytes.size() - 64) != std::string::npos;
  }
  // Rasterises the printed page at kRasterDpi through the system's pdftoppm.
  // Wine starts Unix programs but gives no handle to wait on: the command
  // leaves a marker file when it is done.
  bool Rasterise(Pixels& out) const {
    std::string command = "/bin/sh -c \"pdftoppm -r " + std::to_string(kRasterDpi) + " -singlefile '" + unix_ +
                          "/print.pdf' '" + unix_ + "/page' && touch '" + unix_ + "/page.done'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
      return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    if (!wintest::PumpUntil([&] { return FileExists(windows_ + "\\page.done"); }, 30000, "the rasterised page"))
      return false;
    std::ifstream in(windows_ + "\\page.ppm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> out.width >> out.height >> maxValue;
    in.get();
    if (magic != "P6" || out.width <= 0 || out.height <= 0) return false;
    out.rgb.resize(static_cast<size_t>(out.width) * out.height * 3);
    in.read(reinterpret_cast<char*>(out.rgb.data()), static_cast<std::streamsize>(out.rgb.size()));
    return static_cast<bool>(in);
  }

 private:
  std::string unix_;
  std::string windows_;
};

// The default printer's printable area in millimetres from the sheet's
// top-left corner, for one orientation.
struct PrintableArea {
  double left = 0, top = 0, width = 0, height = 0;
};
PrintableArea DefaultPrintableArea(bool portrait) {
  wchar_t name[256] = {};
  DWORD size = 256;
  PrintableArea area;
  if (!GetDefaultPrinterW(name, &size)) return area;
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_ORIENTATION;
  mode.dmOrientation = static_cast<short>(portrait ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE);
  HDC dc = CreateDCW(L"WINSPOOL", name, nullptr, &mode);
  if (!dc) return area;
  const double dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
  area.left = GetDeviceCaps(dc, PHYSICALOFFSETX) * 25.4 / dpiX;
  area.top = GetDeviceCaps(dc, PHYSICALOFFSETY) * 25.4 / dpiY;
  area.width = GetDeviceCaps(dc, HORZRES) * 25.4 / dpiX;
  area.height = GetDeviceCaps(dc, VERTRES) * 25.4 / dpiY;
  DeleteDC(dc);
  return area;
}

// Opens the dialog on this thread and works it from a second one.
INT_PTR RunDialog(CPrintSettingDlg& dialog, HWND owner, const std::function<void(HWND)>& steps) {
  bool found = false;
  const INT_PTR result =
      wintest::RunModal([&] { return dialog.DoModal(owner); }, kTitle, nullptr, steps, &found, 20000);
  EXPECT_TRUE(found) << "the print settings dialog never appeared";
  return result;
}

class PrintSettingDlgTest : public wintest::WinTest {
 protected:
  const RECT kNoArea = {0, 0, 0, 0};
};

TEST_F(PrintSettingDlgTest, OpensWithFitAndPortraitAndTheOrientationBoxesActAsAPair) {
  CPrintSettingDlg dialog(PrintSource::ClipboardImage, nullptr, kNoArea);
  std::wstring caption;
  std::string texts;
  bool fitAtOpen = false, keepAtOpen = true, portraitAtOpen = false, landscapeAtOpen = true;
  bool afterLandscape[2] = {}, afterPortrait[2] = {}, afterPortraitAgain[2] = {};
  bool fitAfterKeep = true;
  const INT_PTR result = RunDialog(dialog, nullptr, [&](HWND d) {
    caption = wintest::Text(d);
    texts = wintest::ControlDifferences(d, {
                                               {IDC_PRINT_FIT_TO_PAPER, -1, -1, -1, -1, L"용지 크기에 맞춰서 인쇄"},
                                               {IDC_PRINT_KEEP_SCALE, -1, -1, -1, -1, L"용지 비율에 맞춰서 인쇄"},
                                               {IDC_PRINT_PORTRAIT, -1, -1, -1, -1, L"세로 뱡향으로 인쇄"},
                                               {IDC_PRINT_LANDSCAPE, -1, -1, -1, -1, L"가로 방향으로 인쇄"},
                                               {IDC_PRINT_NOW, -1, -1, -1, -1, L"인쇄하기"},
                                           });
    fitAtOpen = Checked(d, IDC_PRINT_FIT_TO_PAPER);
    keepAtOpen = Checked(d, IDC_PRINT_KEEP_SCALE);
    portraitAtOpen = Checked(d, IDC_PRINT_PORTRAIT);
    landscapeAtOpen = Checked(d, IDC_PRINT_LANDSCAPE);
    Click(d, IDC_PRINT_LANDSCAPE);
    afterLandscape[0] = Checked(d, IDC_PRINT_PORTRAIT);
    afterLandscape[1] = Checked(d, IDC_PRINT_LANDSCAPE);
    Click(d, IDC_PRINT_PORTRAIT);
    afterPortrait[0] = Checked(d, IDC_PRINT_PORTRAIT);
    afterPortrait[1] = Checked(d, IDC_PRINT_LANDSCAPE);
    // Clicking the checked box keeps it checked.
    Click(d, IDC_PRINT_PORTRAIT);
    afterPortraitAgain[0] = Checked(d, IDC_PRINT_PORTRAIT);
    afterPortraitAgain[1] = Checked(d, IDC_PRINT_LANDSCAPE);
    Click(d, IDC_PRINT_KEEP_SCALE);
    fitAfterKeep = Checked(d, IDC_PRINT_FIT_TO_PAPER);
    wintest::HoldForScreenshot("print_setting", d);
    PostMessageW(d, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(caption, kTitle);
  EXPECT_EQ(texts, "");
  EXPECT_TRUE(fitAtOpen);
  EXPECT_FALSE(keepAtOpen);
  EXPECT_TRUE(portraitAtOpen);
  EXPECT_FALSE(landscapeAtOpen);
  EXPECT_FALSE(afterLandscape[0]);
  EXPECT_TRUE(afterLandscape[1]);
  EXPECT_TRUE(afterPortrait[0]);
  EXPECT_FALSE(afterPortrait[1]);
  EXPECT_TRUE(afterPortraitAgain[0]);
  EXPECT_FALSE(afterPortraitAgain[1]);
  EXPECT_FALSE(fitAfterKeep);
  EXPECT_FALSE(dialog.fitToPaper);
  EXPECT_TRUE(dialog.portrait);
  // The close box prints nothing.
  EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PrintSettingDlgTest, NoPictureOrNoDefaultPrinterPrintsNothingAndCloses) {
  const PdfQueue queue;
  queue.Clear();
  EXPECT_EQ(PrintPicture(nullptr, true, true), PrintResult::NoPicture);

  // The dialog with an empty clipboard: the print button closes it, nothing printed.
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  CPrintSettingDlg dialog(PrintSource::ClipboardImage, nullptr, kNoArea);
  const INT_PTR result = RunDialog(dialog, nullptr, [](HWND d) { Click(d, IDC_PRINT_NOW); });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.lastResult, PrintResult::NoPicture);

  // Without a default printer (the user's default is put back afterwards).
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                          KEY_READ | KEY_WRITE, &key),
            ERROR_SUCCESS);
  wchar_t device[512] = {};
  DWORD bytes = sizeof device;
  DWORD type = 0;
  const bool hadDevice =
      RegQueryValueExW(key, L"Device", nullptr, &type, reinterpret_cast<BYTE*>(device), &bytes) == ERROR_SUCCESS;
  RegDeleteValueW(key, L"Device");
  HBITMAP picture = MakePicture(40, 30, kBlue, kRed, 5);
  const PrintResult withoutPrinter = PrintPicture(picture, true, true);
  if (hadDevice) RegSetValueExW(key, L"Device", 0, type, reinterpret_cast<BYTE*>(device), bytes);
  RegCloseKey(key);
  DeleteObject(picture);
  EXPECT_EQ(withoutPrinter, PrintResult::NoPrinter);
  if (queue.Known()) {
    EXPECT_FALSE(FileExists(queue.Pdf())) << "something was printed";
  }
}

TEST_F(PrintSettingDlgTest, ASecondPressDuringTheWaitBeforePrintingStartsNoSecondPrint) {
  // The prints counted instead of sent to the printer.
  class CountingDlg : public CPrintSettingDlg {
   public:
    using CPrintSettingDlg::CPrintSettingDlg;
    int prints = 0;

   protected:
    PrintResult Print(HBITMAP) override {
      ++prints;
      return PrintResult::Printed;
    }
  };
  CountingDlg dialog(PrintSource::ClipboardImage, nullptr, kNoArea);
  const INT_PTR result = RunDialog(dialog, nullptr, [](HWND d) {
    // Two presses queued at once: the second is handed out by the wait the first starts.
    const LPARAM button = reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_PRINT_NOW));
    PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PRINT_NOW, BN_CLICKED), button);
    PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_PRINT_NOW, BN_CLICKED), button);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.prints, 1);
}

class PrintOutputTest : public PrintSettingDlgTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(queue.Known()) << "FRAMLET_PRINT_OUTPUT is not set: start the PDF queue with scripts/cups.sh "
                                  "(scripts/test.sh does) and export its variables (scripts/cups.sh env)";
    wchar_t name[256] = {};
    DWORD size = 256;
    ASSERT_TRUE(GetDefaultPrinterW(name, &size)) << "no default printer: the PDF queue is not visible to Wine";
    queue.Clear();
  }
  // Waits for the job and rasterises its page.
  Pixels PrintedPage() {
    Pixels page;
    wintest::PumpUntil([&] { return queue.PdfComplete(); }, 60000, "a PDF from the queue");
    EXPECT_TRUE(queue.Rasterise(page)) << "the PDF could not be rasterised";
    return page;
  }
  PdfQueue queue;
};

TEST_F(PrintOutputTest, OwnScalePrintsA400x300PictureAt105By79MillimetresUprightAtTheTopLeft) {
  HBITMAP picture = MakePicture(400, 300, kBlue, kRed, 40);
  CPrintSettingDlg dialog(PrintSource::ClipboardImage, picture, kNoArea);
  const INT_PTR result = RunDialog(dialog, nullptr, [](HWND d) {
    Click(d, IDC_PRINT_KEEP_SCALE);
    Click(d, IDC_PRINT_NOW);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dialog.lastResult, PrintResult::Printed);
  const Pixels page = PrintedPage();
  DeleteObject(picture);
  ASSERT_GT(page.width, 0);
  EXPECT_LT(page.width, page.height) << "portrait sheet";

  const RECT blue = BoxOf(page, kBlue);
  const RECT red = BoxOf(page, kRed);
  const PrintableArea area = DefaultPrintableArea(true);
  // The whole picture (blue with its red corner) measures 105.16 x 78.87 mm.
  const RECT whole = {std::min(blue.left, red.left), std::min(blue.top, red.top), std::max(blue.right, red.right),
                      std::max(blue.bottom, red.bottom)};
  const double tolerance = 0.6;  // about two raster pixels
  EXPECT_NEAR(RasterMm(whole.right - whole.left), 105.16, tolerance);
  EXPECT_NEAR(RasterMm(whole.bottom - whole.top), 78.87, tolerance);
  EXPECT_NEAR(RasterMm(whole.left), area.left, tolerance);
  EXPECT_NEAR(RasterMm(whole.top), area.top, tolerance);
  // Rows are not upside down: the red corner is the picture's top-left tenth.
  EXPECT_NEAR(red.left, whole.left, 2);
  EXPECT_NEAR(red.top, whole.top, 2);
  EXPECT_NEAR(RasterMm(red.right - red.left), 10.52, tolerance);
}

TEST_F(PrintOutputTest, FitInLandscapeStretchesThePictureOverTheWholeLandscapePage) {
  HBITMAP picture = MakePicture(300, 300, kBlue, kRed, 30);
  CPrintSettingDlg dialog(PrintSource::ClipboardImage, picture, kNoArea);
  RunDialog(dialog, nullptr, [](HWND d) {
    Click(d, IDC_PRINT_LANDSCAPE);
    Click(d, IDC_PRINT_NOW);
  });
  EXPECT_EQ(dialog.lastResult, PrintResult::Printed);
  const Pixels page = PrintedPage();
  DeleteObject(picture);
  ASSERT_GT(page.width, 0);
  // The queue's sheets are A4 portrait: a landscape page comes out on one
  // turned a quarter anticlockwise, the page's top-left at the sheet's bottom-left.
  ASSERT_LT(page.width, page.height);

  const RECT blue = BoxOf(page, kBlue);
  const RECT red = BoxOf(page, kRed);
  const PrintableArea area = DefaultPrintableArea(false);
  const double tolerance = 0.6;
  EXPECT_NEAR(RasterMm(blue.bottom - blue.top), area.width, tolerance);
  EXPECT_NEAR(RasterMm(blue.right - blue.left), area.height, tolerance);
  EXPECT_NEAR(RasterMm(page.height - blue.bottom), area.left, tolerance);
  EXPECT_NEAR(RasterMm(blue.left), area.top, tolerance);
  // The square picture's red tenth is stretched with it (the aspect ratio is not kept).
  EXPECT_NEAR(red.left, blue.left, 2);
  EXPECT_NEAR(red.bottom, blue.bottom, 2);
  EXPECT_NEAR(RasterMm(red.bottom - red.top), area.width / 10, tolerance);
  EXPECT_NEAR(RasterMm(red.right - red.left), area.height / 10, tolerance);
}

TEST_F(PrintOutputTest, FrameAreaIsGrabbedAfterTheHiddenDialogsPlaceHasRepainted) {
  // The dialog opens centred over this window of this thread, which paints
  // itself green; the grabbed area is the window.
  testwin::Look look = testwin::At(300, 250, 500, 400, testwin::Solid(kGreen));
  look.layer = testwin::Layer::Normal;
  look.exStyle = 0;
  look.activate = true;
  look.title = L"area";
  testwin::Window area(look);
  ASSERT_TRUE(area.Hwnd());
  CPrintSettingDlg dialog(PrintSource::FrameArea, nullptr, RECT{300, 250, 800, 650});
  RunDialog(dialog, area.Hwnd(), [](HWND d) {
    RedrawWindow(d, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Click(d, IDC_PRINT_NOW);
  });
  area.Destroy();
  EXPECT_EQ(dialog.lastResult, PrintResult::Printed);
  const Pixels page = PrintedPage();
  ASSERT_GT(page.width, 0);
  // Fit: the printable area is green all over; none of the dialog is left in the grab.
  const PrintableArea printable = DefaultPrintableArea(true);
  const RECT green = BoxOf(page, kGreen);
  EXPECT_NEAR(RasterMm(green.right - green.left), printable.width, 0.6);
  EXPECT_NEAR(RasterMm(green.bottom - green.top), printable.height, 0.6);
  int notGreen = 0;
  for (LONG y = green.top + 2; y < green.bottom - 2; ++y)
    for (LONG x = green.left + 2; x < green.right - 2; ++x)
      if (!page.Near(x, y, kGreen)) ++notGreen;
  EXPECT_EQ(notGreen, 0) << "pixels of something other than the area in the printed grab";
}

}  // namespace
