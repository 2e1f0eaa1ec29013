// Text at 96, 144 and 192 DPI. The windows are laid out in fixed pixels, so
// their text must be sized in pixels too: every window of the program opens,
// each control's text, measured with the control's own font, fits the
// control, and each control's font has the same pixel height and each window
// the same client area at every DPI.
//
// A Wine process reads the DPI (the LogPixels value) when it starts, so the
// higher DPIs run in child processes of this test program, started after the
// value is set; the value is put back when they end.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/capture_frame_dlg.h"
#include "core/capture_options.h"
#include "core/settings.h"
#include "dialog_test_util.h"
#include "ui/gdi.h"
#include "ui/hover_tip_dlg.h"
#include "win_test_util.h"
#include "windows/area_outline_dlg.h"
#include "windows/area_setting_dlg.h"
#include "windows/continuous_option_dlg.h"
#include "windows/full_capture_notice_dlg.h"
#include "windows/login_prompt_dlg.h"
#include "windows/option_dlg.h"
#include "windows/print_setting_dlg.h"

using namespace framlet;

namespace {

constexpr char kReportVariable[] = "FRAMLET_DPI_REPORT";
constexpr char kScreenshotVariable[] = "FRAMLET_SCREENSHOTS";
constexpr char kThisTest[] = "DpiText.TextFitsAndNothingGrowsAt96_144And192Dpi";

// One control with text, measured with the font it reports (WM_GETFONT).
struct TextBox {
  std::string window;
  int id = 0;
  std::wstring text;
  int fontHeight = 0;  // the font's cell height (tmHeight), pixels
  int textWidth = 0;
  int roomWidth = 0;  // client width less what the control draws beside the text
  int roomHeight = 0;
  bool widthMatters = true;  // an edit that scrolls its text sideways may be narrower than it
};

std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? static_cast<size_t>(size) : 1, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

bool IsCheckOrRadio(HWND control) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  if (style & BS_PUSHLIKE) return false;
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return true;
  }
  return false;
}

// The right edge of the box a check box or radio button paints: where its
// first run of columns that differ from the background ends.
int PaintedBoxRight(HWND button) {
  RECT client = {};
  GetClientRect(button, &client);
  framlet::ui::WindowDC screen(nullptr);
  framlet::ui::MemoryDC memory(screen);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(screen, client.right, client.bottom));
  framlet::ui::SelectGuard select(memory, canvas);
  SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(static_cast<HDC>(memory)), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF background = GetPixel(memory, client.right - 1, client.bottom - 1);
  bool inBox = false;
  for (int x = 0; x < client.right; ++x) {
    bool blank = true;
    for (int y = 0; y < client.bottom && blank; ++y) blank = GetPixel(memory, x, y) == background;
    if (!blank)
      inBox = true;
    else if (inBox)
      return x;
  }
  return client.right;
}

// Measures `control` if it shows text; false when it has none.
bool Measure(const std::string& window, HWND control, TextBox* box) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  const std::wstring cls = className;
  const std::wstring text = wintest::Text(control);
  if (text.empty()) return false;

  box->window = window;
  box->id = GetDlgCtrlID(control);
  box->text = text;
  RECT client = {};
  GetClientRect(control, &client);
  box->roomWidth = client.right;
  box->roomHeight = client.bottom;

  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  framlet::ui::WindowDC dc(nullptr);
  framlet::ui::SelectGuard select(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  SIZE extent = {};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(dc, &metrics);
  box->textWidth = extent.cx;
  box->fontHeight = metrics.tmHeight;

  if (_wcsicmp(className, L"Button") == 0 && IsCheckOrRadio(control)) {
    // The caption starts half a digit to the right of the box, as painted.
    INT digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    box->roomWidth -= PaintedBoxRight(control) + digit / 2;
  }
  if (_wcsicmp(className, L"Edit") == 0) {
    box->widthMatters = !(GetWindowLongPtrW(control, GWL_STYLE) & ES_AUTOHSCROLL);
  }
  return true;
}

// Every control with text in `top` (all descendants).
std::vector<TextBox> MeasureWindow(const std::string& window, HWND top) {
  struct Walk {
    std::string window;
    std::vector<TextBox> boxes;
  } walk{window, {}};
  EnumChildWindows(
      top,
      [](HWND child, LPARAM p) -> BOOL {
        auto* w = reinterpret_cast<Walk*>(p);
        TextBox box;
        if (Measure(w->window, child, &box)) w->boxes.push_back(box);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.boxes;
}

// ---- screenshots: with FRAMLET_SCREENSHOTS naming a folder, dpi<N>_<window>.png there ----

std::string ScreenshotFolder() {
  char folder[MAX_PATH] = {};
  if (!GetEnvironmentVariableA(kScreenshotVariable, folder, sizeof folder)) return {};
  CreateDirectoryA(folder, nullptr);
  return folder;
}

// The screen under `rect` as a bitmap.
framlet::ui::Bitmap Grab(const RECT& rect) {
  framlet::ui::WindowDC screen(nullptr);
  framlet::ui::MemoryDC memory(screen);
  framlet::ui::Bitmap bitmap(CreateCompatibleBitmap(screen, rect.right - rect.left, rect.bottom - rect.top));
  framlet::ui::SelectGuard select(memory, bitmap);
  BitBlt(memory, 0, 0, rect.right - rect.left, rect.bottom - rect.top, screen, rect.left, rect.top, SRCCOPY);
  return bitmap;
}

std::vector<BYTE> Pixels(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectW(bitmap, sizeof info, &info);
  BITMAPINFOHEADER header = {sizeof header, info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> bytes(static_cast<size_t>(info.bmWidth) * info.bmHeight * 4);
  framlet::ui::WindowDC screen(nullptr);
  GetDIBits(screen, bitmap, 0, info.bmHeight, bytes.data(), reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  return bytes;
}

// Saves what the screen shows of `window` once two grabs in a row agree (it has finished painting).
void SaveScreenshot(HWND window, const std::string& name) {
  const std::string folder = ScreenshotFolder();
  if (folder.empty()) return;
  RECT rect = {};
  GetWindowRect(window, &rect);
  framlet::ui::Bitmap shot = Grab(rect);
  for (int tries = 0; tries < 40; ++tries) {
    Sleep(50);
    framlet::ui::Bitmap again = Grab(rect);
    const bool settled = Pixels(again) == Pixels(shot);
    shot = std::move(again);
    if (settled) break;
  }
  ULONG_PTR session = 0;
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&session, &input, nullptr);
  {
    Gdiplus::Bitmap picture(shot.Get(), nullptr);
    const CLSID png = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const std::string path = folder + "\\dpi" + std::to_string(GetDpiForSystem()) + "_" + name + ".png";
    wchar_t widePath[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    picture.Save(widePath, &png, nullptr);
  }
  Gdiplus::GdiplusShutdown(session);
}

// ---- the windows ----

class FakeOptionHost : public IOptionHost {
 public:
  explicit FakeOptionHost(HWND frame) : frame_(frame) {}
  HWND FrameWindow() const override { return frame_; }
  settings::FrameRect FramePlacement() const override { return {60, 40, 836, 721}; }
  void SetAlwaysTop(bool) override {}
  void SaveFramePosition() override {}

 private:
  HWND frame_;
};

class FakeNoticeHost : public INoticeHost {
 public:
  explicit FakeNoticeHost(HWND frame) : frame_(frame) {}
  HWND FrameWindow() const override { return frame_; }
  void CaptureArea() override {}
  void ApplyModeLayering() override {}
  void HideAreaOutline() override {}
  void ClearMaximized() override {}

 private:
  HWND frame_;
};

using Inspect = std::function<void(const std::string& window, HWND top)>;

// Runs `open` (a modal dialog) while a second thread inspects the dialog owned by `owner` and closes it.
void WithModal(const std::string& name, const std::function<INT_PTR()>& open, HWND owner, const Inspect& inspect) {
  bool found = false;
  wintest::RunModal(
      open, nullptr, owner,
      [&](HWND d) {
        inspect(name, d);
        PostMessageW(d, WM_CLOSE, 0, 0);
      },
      &found);
  EXPECT_TRUE(found) << name << " did not open";
}

// Opens every window of the program in turn and inspects it while it shows.
void ForEveryWindow(const Inspect& inspect) {
  {
    CCaptureFrameDlg frame;
    ASSERT_TRUE(frame.Create(nullptr));
    wintest::PumpUntil([&] { return wintest::Painted(frame.Hwnd()); });
    inspect("frame", frame.Hwnd());
    DestroyWindow(frame.Hwnd());
  }
  wintest::FakeFrame frame(60, 40, 836, 721);
  CaptureOptions options;
  {
    FakeOptionHost host(frame.Hwnd());
    COptionDlg dialog(options, host);
    WithModal(
        "options", [&] { return dialog.DoModal(); }, frame.Hwnd(), inspect);
  }
  {
    CContinuousOptionDlg dialog(options);
    WithModal(
        "continuous_options", [&] { return dialog.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    FakeNoticeHost host(frame.Hwnd());
    CFullCaptureNoticeDlg notice(host);
    WithModal(
        "full_capture_notice", [&] { return notice.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    CLoginPromptDlg prompt;
    WithModal(
        "login_prompt", [&] { return prompt.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    CRecorderPromptDlg prompt;
    WithModal(
        "recorder_prompt", [&] { return prompt.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    CPrintSettingDlg dialog(PrintSource::ClipboardImage, nullptr, RECT{});
    WithModal(
        "print_setting", [&] { return dialog.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    CAreaSettingDlg dialog;
    WithModal(
        "area_setting", [&] { return dialog.DoModal(frame.Hwnd()); }, frame.Hwnd(), inspect);
  }
  {
    CAreaOutlineDlg outline;
    ASSERT_TRUE(outline.Create(frame.Hwnd()));
    outline.Show();
    wintest::PumpUntil([&] { return wintest::Painted(outline.Hwnd()); });
    inspect("area_outline", outline.Hwnd());
  }
  {
    CHoverTipDlg tip;
    ASSERT_TRUE(tip.Create(frame.Hwnd()));
    tip.SetTip(12, 360, 51);
    tip.ShowAt(100, 100);
    wintest::PumpUntil([&] { return wintest::Painted(tip.Hwnd()); });
    inspect("hover_tip", tip.Hwnd());
  }
}

// What must come out the same at every DPI, by name: each window's client size
// and each control's font height.
using Facts = std::map<std::string, std::string>;

// Opens every window, checks that each text fits its control, and returns the facts.
Facts CheckEveryWindow() {
  Facts facts;
  ForEveryWindow([&](const std::string& window, HWND top) {
    SaveScreenshot(top, window);
    RECT client = {};
    GetClientRect(top, &client);
    facts[window + " client size"] = std::to_string(client.right) + "x" + std::to_string(client.bottom);
    for (const TextBox& box : MeasureWindow(window, top)) {
      const std::string where = window + " control " + std::to_string(box.id);
      const std::string what = where + " \"" + Narrow(box.text) + "\"";
      if (box.widthMatters) {
        EXPECT_LE(box.textWidth, box.roomWidth) << what << " is cut at the right";
      }
      EXPECT_LE(box.fontHeight, box.roomHeight) << what << " is cut at the bottom";
      facts[where + " font height"] = std::to_string(box.fontHeight);
    }
  });
  return facts;
}

// ---- the DPI of a Wine process: LogPixels under HKCU\Control Panel\Desktop (else the
// machine's value under HKCC\Software\Fonts), read when the process starts ----

class LogPixelsSetting {
 public:
  LogPixelsSetting() {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    nullptr, &key_, nullptr);
    DWORD size = sizeof before_;
    had_ = key_ && RegQueryValueExW(key_, L"LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&before_), &size) ==
                       ERROR_SUCCESS;
  }
  ~LogPixelsSetting() {
    if (!key_) return;
    if (had_)
      Set(before_);
    else
      RegDeleteValueW(key_, L"LogPixels");
    RegCloseKey(key_);
  }
  LogPixelsSetting(const LogPixelsSetting&) = delete;
  LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;

  bool Set(DWORD dpi) {
    return key_ && RegSetValueExW(key_, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
                       ERROR_SUCCESS;
  }

 private:
  HKEY key_ = nullptr;
  bool had_ = false;
  DWORD before_ = 0;
};

// Runs kThisTest of this program in a new process that writes `report`; returns
// its exit code and fills in what it printed.
DWORD RunThisTestInChild(const std::string& report, std::string* output) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string commandLine = std::string("\"") + exe + "\" --gtest_filter=" + kThisTest;
  const std::string outputPath = report + ".out";

  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  framlet::ui::FileHandle out(CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out.Get();
  startup.hStdError = out.Get();
  PROCESS_INFORMATION process = {};
  SetEnvironmentVariableA(kReportVariable, report.c_str());
  const BOOL started =
      CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableA(kReportVariable, nullptr);
  if (!started) return static_cast<DWORD>(-1);
  framlet::ui::KernelHandle child(process.hProcess);
  CloseHandle(process.hThread);
  DWORD code = static_cast<DWORD>(-2);
  if (WaitForSingleObject(child, 50000) == WAIT_OBJECT_0)
    GetExitCodeProcess(child, &code);
  else
    TerminateProcess(child, code);  // our own child, hung: end it so the DPI can be put back
  out.Reset();
  *output = wintest::FileBytes(outputPath);
  DeleteFileA(outputPath.c_str());
  return code;
}

using DpiText = wintest::WinTest;

// At 96 DPI in this process, then at 144 and 192 in child processes that run
// this same test with a report file named (kReportVariable): a child checks the
// fit at its DPI, writes its measurements and ends there.
TEST_F(DpiText, TextFitsAndNothingGrowsAt96_144And192Dpi) {
  const Facts here = CheckEveryWindow();
  ASSERT_FALSE(here.empty());
  char report[MAX_PATH] = {};
  if (GetEnvironmentVariableA(kReportVariable, report, MAX_PATH)) {
    std::ofstream out(report, std::ios::binary);
    out << "dpi\t" << GetDpiForSystem() << "\n";
    for (const auto& [name, value] : here) out << name << '\t' << value << "\n";
    return;
  }

  ASSERT_EQ(GetDpiForSystem(), 96u) << "the test prefix runs at 96 DPI";
  LogPixelsSetting logPixels;
  for (DWORD dpi : {144u, 192u}) {
    SCOPED_TRACE("at " + std::to_string(dpi) + " DPI");
    ASSERT_TRUE(logPixels.Set(dpi));
    const std::string path = folder_.File("report-" + std::to_string(dpi) + ".txt");
    std::string output;
    EXPECT_EQ(RunThisTestInChild(path, &output), 0u) << output;

    Facts there;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
      const size_t tab = line.find('\t');
      if (tab != std::string::npos) there[line.substr(0, tab)] = line.substr(tab + 1);
    }
    EXPECT_EQ(there["dpi"], std::to_string(dpi)) << "the child did not run at the DPI that was set";
    there.erase("dpi");
    for (const auto& [name, value] : here) EXPECT_EQ(there[name], value) << name << ", as at 96 DPI";
    EXPECT_EQ(there.size(), here.size()) << "the same windows and controls with text";
  }
}

// ---- a DPI change while the windows are open ----

std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return Narrow(name);
}

// A window the program lays out, not a tooltip, which places and sizes itself
// each time it shows.
bool OfTheProgram(HWND window) {
  return ClassOf(window) != TOOLTIPS_CLASSA;
}

// `top` and the program's windows of its thread that it owns, directly or through another.
std::vector<HWND> TopLevelWindowsOf(HWND top) {
  struct Walk {
    HWND top;
    std::vector<HWND> found;
  } walk{top, {top}};
  EnumThreadWindows(
      GetWindowThreadProcessId(top, nullptr),
      [](HWND w, LPARAM p) -> BOOL {
        auto* found = reinterpret_cast<Walk*>(p);
        for (HWND owner = GetWindow(w, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
          if (owner == found->top) {
            if (OfTheProgram(w)) found->found.push_back(w);
            break;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  return walk.found;
}

// Each window's rectangle and font, the windows' children included.
std::map<HWND, std::pair<RECT, HFONT>> PlacesAndFonts(const std::vector<HWND>& windows) {
  std::map<HWND, std::pair<RECT, HFONT>> seen;
  auto note = [&](HWND w) {
    RECT r = {};
    GetWindowRect(w, &r);
    seen[w] = {r, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0))};
  };
  for (HWND top : windows) {
    note(top);
    std::vector<HWND> children;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM p) -> BOOL {
          reinterpret_cast<std::vector<HWND>*>(p)->push_back(child);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) note(child);
  }
  return seen;
}

// Every window of the program is told that its DPI went from 96 to 144, as
// when it is moved to a monitor at 150 %, with the size and place the system
// would give it: nothing moves, grows or gets another font.
TEST_F(DpiText, ADpiChangeMovesResizesAndRescalesNothing) {
  using GetBehavior = DIALOG_DPI_CHANGE_BEHAVIORS(WINAPI*)(HWND);
  const auto dialogBehavior = reinterpret_cast<GetBehavior>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDialogDpiChangeBehavior")));
  int told = 0;
  ForEveryWindow([&](const std::string& window, HWND top) {
    const std::vector<HWND> windows = TopLevelWindowsOf(top);
    const auto before = PlacesAndFonts(windows);
    for (HWND w : windows) {
      SCOPED_TRACE(window + ", window of class " + ClassOf(w));
      RECT r = {};
      GetWindowRect(w, &r);
      const SIZE pending = {r.right - r.left, r.bottom - r.top};
      SIZE size = pending;
      EXPECT_TRUE(SendMessageW(w, WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&size)))
          << "left to the system, the size would grow by half";
      EXPECT_EQ(size.cx, pending.cx);
      EXPECT_EQ(size.cy, pending.cy);
      RECT suggested = {r.left + 20, r.top + 20, r.left + 20 + pending.cx * 3 / 2, r.top + 20 + pending.cy * 3 / 2};
      SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
      // Where the system has them (not Wine), dialogs are kept from rescaling themselves.
      if (dialogBehavior && ClassOf(w) == "#32770") {
        EXPECT_EQ(dialogBehavior(w), DDC_DISABLE_ALL);
      }
      ++told;
    }
    const auto after = PlacesAndFonts(windows);
    for (const auto& [w, place] : before) {
      const auto now = after.find(w);
      ASSERT_NE(now, after.end());
      const RECT& a = place.first;
      const RECT& b = now->second.first;
      EXPECT_TRUE(EqualRect(&a, &b)) << window << ": window of class " << ClassOf(w) << " moved from "
                                     << a.left << "," << a.top << " " << a.right - a.left << "x" << a.bottom - a.top
                                     << " to " << b.left << "," << b.top << " " << b.right - b.left << "x"
                                     << b.bottom - b.top;
      EXPECT_EQ(now->second.second, place.second) << window << ": another font";
    }
  });
  EXPECT_GT(told, 10) << "the frame, its owned windows and every dialog";
}

}  // namespace
