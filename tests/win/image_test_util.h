#pragma once
// Helpers of the image-file tests: pictures with known pixels, decoding a file
// again through the platform codecs, file bytes, and a driver that works the
// real save dialog from a second thread.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "capture/captured_image.h"
#include "win_test_util.h"

namespace imagetest {

// Pixels as 0x00RRGGBB, top row first.
struct Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;
  uint32_t At(int x, int y) const { return rgb[static_cast<size_t>(y) * width + x]; }
};

// No two neighbours alike and far more than 256 colours.
inline Pixels ManyColours(int w, int h) {
  Pixels p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.rgb[static_cast<size_t>(y) * w + x] = (static_cast<uint32_t>(x * 4 + 3) & 0xFF) << 16 |
                                               (static_cast<uint32_t>(y * 5 + 7) & 0xFF) << 8 |
                                               (static_cast<uint32_t>(x * 7 + y * 11) & 0xFF);
  return p;
}

// Exactly `colours` distinct colours (at most 256), spread over the picture.
inline Pixels FewColours(int w, int h, int colours) {
  Pixels p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t k = static_cast<uint32_t>((x + y * 7) % colours);
      p.rgb[static_cast<size_t>(y) * w + x] = (k * 37 & 0xFF) << 16 | (k * 101 & 0xFF) << 8 | (255 - k);
    }
  return p;
}

// Smooth gradients, the kind of content JPEG is made for.
inline Pixels Gradient(int w, int h) {
  Pixels p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.rgb[static_cast<size_t>(y) * w + x] =
          static_cast<uint32_t>(x * 255 / (w - 1)) << 16 | static_cast<uint32_t>(y * 255 / (h - 1)) << 8 |
          static_cast<uint32_t>((x + y) * 255 / (w + h - 2));
  return p;
}

// A display-compatible image holding the pixels.
inline CCapturedImage MakeImage(const Pixels& p) {
  CCapturedImage image;
  if (!image.CreateScreenCompatible(p.width, p.height)) return image;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = p.width;
  info.bmiHeader.biHeight = -p.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  HDC screen = GetDC(nullptr);
  SetDIBits(screen, image.Bitmap(), 0, static_cast<UINT>(p.height), p.rgb.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return image;
}

// The image's own pixels as the writers read them.
inline Pixels ReadImage(const CCapturedImage& image) {
  Pixels p{image.Width(), image.Height(), {}};
  int stride = 0;
  const std::vector<uint8_t> rows = image.ReadRows(32, &stride);
  p.rgb.resize(static_cast<size_t>(p.width) * p.height);
  for (int y = 0; y < p.height && !rows.empty(); ++y)
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* px = rows.data() + static_cast<size_t>(y) * stride + x * 4;
      p.rgb[static_cast<size_t>(y) * p.width + x] = uint32_t(px[2]) << 16 | uint32_t(px[1]) << 8 | px[0];
    }
  return p;
}

inline std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return wide;
}

// Decodes a file through the platform codecs (GDI+ must be running). Width 0 when it cannot.
inline Pixels Decode(const std::string& path) {
  Pixels p;
  Gdiplus::Bitmap bitmap(Wide(path).c_str());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return p;
  const int w = static_cast<int>(bitmap.GetWidth());
  const int h = static_cast<int>(bitmap.GetHeight());
  Gdiplus::Rect rect(0, 0, w, h);
  Gdiplus::BitmapData data = {};
  if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return p;
  p.width = w;
  p.height = h;
  p.rgb.resize(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) + y * data.Stride);
    for (int x = 0; x < w; ++x) p.rgb[static_cast<size_t>(y) * w + x] = row[x] & 0xFFFFFF;
  }
  bitmap.UnlockBits(&data);
  return p;
}

// Largest difference of one colour channel between two pictures of equal size; -1 when sizes differ.
inline int MaxChannelError(const Pixels& a, const Pixels& b, double* mean = nullptr) {
  if (a.width != b.width || a.height != b.height || a.rgb.size() != b.rgb.size()) return -1;
  int worst = 0;
  double sum = 0;
  for (size_t i = 0; i < a.rgb.size(); ++i)
    for (int shift = 0; shift <= 16; shift += 8) {
      const int d = std::abs(int((a.rgb[i] >> shift) & 0xFF) - int((b.rgb[i] >> shift) & 0xFF));
      worst = std::max(worst, d);
      sum += d;
    }
  if (mean) *mean = a.rgb.empty() ? 0 : sum / (a.rgb.size() * 3.0);
  return worst;
}

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Names of the files and folders in a folder, sorted.
inline std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = data.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &data));
  FindClose(find);
  std::sort(names.begin(), names.end());
  return names;
}

// The file's format by its signature: "BMP", "JPEG", "PNG", "GIF89a" or "".
inline std::string Signature(const std::string& path) {
  const std::string bytes = FileBytes(path);
  if (bytes.compare(0, 2, "BM") == 0) return "BMP";
  if (bytes.compare(0, 3, "\xFF\xD8\xFF") == 0) return "JPEG";
  if (bytes.compare(0, 8, "\x89PNG\r\n\x1A\n") == 0) return "PNG";
  if (bytes.compare(0, 6, "GIF89a") == 0) return "GIF89a";
  return "";
}

// What to do in the next save dialog the test's own thread opens.
struct DialogAction {
  std::string name;  // typed into the file-name box (code page bytes); empty keeps its text
  int filter = -1;   // 0-based filter to select; -1 keeps the selection
  bool cancel = false;
};

// What the driver saw in that dialog.
struct DialogSeen {
  bool found = false;
  bool closed = false;
  HWND owner = nullptr;
  std::string proposal;  // text of the file-name box when the dialog opened
  std::string folder;    // folder the dialog showed
  std::vector<std::string> filters;
  int selectedFilter = -1;
  bool prompted = false;  // a question (replace the existing file?) came up and was answered yes
};

// Works the real common save dialog from a second thread: waits (with a
// timeout) for a dialog of the given thread, reads it, fills it in and
// confirms or cancels it. A dialog that does not close is cancelled so the
// test fails instead of hanging.
class DialogDriver {
 public:
  // `wideName`, when given, is typed instead of the action's name: a name the code page cannot hold.
  explicit DialogDriver(DialogAction action, std::wstring wideName = {})
      : action_(std::move(action)), wideName_(std::move(wideName)), thread_(GetCurrentThreadId()) {
    worker_ = std::thread([this] { Run(); });
  }
  ~DialogDriver() {
    if (worker_.joinable()) worker_.join();
  }
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  const DialogSeen& Seen() {
    if (worker_.joinable()) worker_.join();
    return seen_;
  }

 private:
  struct Search {
    DWORD thread;
    HWND found;
  };
  static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (GetWindowThreadProcessId(hwnd, nullptr) == search->thread && IsWindowVisible(hwnd) &&
        std::string(cls) == "#32770" && GetDlgItem(hwnd, cmb1)) {
      search->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  // A message box of the thread with a Yes button.
  static BOOL CALLBACK FindPrompt(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (GetWindowThreadProcessId(hwnd, nullptr) == search->thread && IsWindowVisible(hwnd) &&
        std::string(cls) == "#32770" && !GetDlgItem(hwnd, cmb1) && GetDlgItem(hwnd, IDYES)) {
      search->found = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  static HWND NameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, cmb13);
    return box ? box : GetDlgItem(dialog, edt1);
  }

  void Run() {
    Search search{thread_, nullptr};
    wintest::WaitUntil(
        [&] {
          EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
          return search.found != nullptr;
        },
        30000);
    HWND dialog = search.found;
    if (!dialog) return;
    // The dialog fills its type list and learns its folder once it shows.
    wintest::WaitUntil([&] {
      char folder[MAX_PATH * 2] = {};
      return SendMessageA(GetDlgItem(dialog, cmb1), CB_GETCOUNT, 0, 0) > 0 &&
             SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder)) > 1;
    });
    seen_.found = true;
    seen_.owner = GetWindow(dialog, GW_OWNER);
    char text[MAX_PATH * 2] = {};
    GetWindowTextA(NameBox(dialog), text, sizeof text);
    seen_.proposal = text;
    // The dialog answers in its own character set, whatever the message's.
    wchar_t folder[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
    text[0] = 0;
    WideCharToMultiByte(CP_ACP, 0, folder, -1, text, sizeof text, nullptr, nullptr);
    seen_.folder = text;
    HWND types = GetDlgItem(dialog, cmb1);
    const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      text[0] = 0;
      SendMessageA(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      seen_.filters.push_back(text);
    }
    seen_.selectedFilter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));

    if (action_.filter >= 0) {
      SendMessageA(types, CB_SETCURSEL, action_.filter, 0);
      // Windows acts on the selection change, Wine's dialog on the end of the selection.
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    if (!wideName_.empty())
      SetWindowTextW(NameBox(dialog), wideName_.c_str());
    else if (!action_.name.empty())
      SetWindowTextA(NameBox(dialog), action_.name.c_str());
    const int button = action_.cancel ? IDCANCEL : IDOK;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    // Closes, or asks to replace a file first (answered yes).
    wintest::WaitUntil(
        [&] {
          if (!IsWindow(dialog)) return true;
          Search prompt{thread_, nullptr};
          EnumWindows(FindPrompt, reinterpret_cast<LPARAM>(&prompt));
          if (prompt.found) {
            seen_.prompted = true;
            PostMessageA(prompt.found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(prompt.found, IDYES)));
            wintest::WaitUntil([&] { return !IsWindow(prompt.found); });
          }
          return false;
        },
        10000);
    if (!IsWindow(dialog)) {
      seen_.closed = true;
      return;
    }
    // Still open (an unexpected prompt, a name refused): cancel every dialog of
    // the thread, prompts first, so the test fails instead of hanging.
    wintest::WaitUntil([&] {
      EnumWindows(CancelDialog, static_cast<LPARAM>(thread_));
      return !IsWindow(dialog);
    });
  }

  static BOOL CALLBACK CancelDialog(HWND hwnd, LPARAM thread) {
    char cls[32] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (GetWindowThreadProcessId(hwnd, nullptr) == static_cast<DWORD>(thread) && std::string(cls) == "#32770")
      PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
  }

  DialogAction action_;
  std::wstring wideName_;
  DWORD thread_;
  DialogSeen seen_;
  std::thread worker_;
};

}  // namespace imagetest
