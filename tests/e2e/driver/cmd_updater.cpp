// For the updater's tests: a window of a given title standing in for another
// program's, the control that holds the keyboard focus, and which system icon
// a message box shows.
#include <memory>
#include <vector>

#include "driver.h"
#include "test_windows.h"

using namespace fldrive;

namespace {

struct Titled {
  std::wstring title;
  testwin::ThreadWindow window;
};
std::unique_ptr<Titled>& Standing() {
  static std::unique_ptr<Titled> standing;
  return standing;
}

// 32 x 32 pixels: drawn from `icon` on `background` when given, else read
// from the screen at (x, y).
std::vector<DWORD> Pixels(HICON icon, COLORREF background, int x, int y) {
  const int size = 32;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  if (icon) {
    HBRUSH brush = CreateSolidBrush(background);
    RECT all = {0, 0, size, size};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  } else {
    BitBlt(dc, 0, 0, size, size, screen, x, y, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + size * size);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

}  // namespace

FLDRIVE_COMMAND(titled, L"<title>   an ordinary window of that title, until titled_close (serve mode)") {
  if (args.size() != 1) return 2;
  auto standing = std::make_unique<Titled>();
  standing->title = args[0];
  if (!standing->window.Open(testwin::Ordinary(0, 0, 120, 80, standing->title.c_str()))) return 1;
  Standing() = std::move(standing);
  return 0;
}

FLDRIVE_COMMAND(titled_close, L"   closes the window titled made") {
  if (!args.empty()) return 2;
  Standing().reset();
  return 0;
}

FLDRIVE_COMMAND(focus, L"<title|#hwnd>   the id of the control that has the keyboard focus in that window's thread") {
  if (args.size() != 1) return 2;
  HWND hwnd = FindTop(args[0]);
  if (!hwnd) return 1;
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) || !info.hwndFocus) return 1;
  Printf("%d\n", GetDlgCtrlID(info.hwndFocus));
  return 0;
}

FLDRIVE_COMMAND(box_icon, L"<title|#hwnd>   which system icon (hand, question, exclamation, asterisk) a message box shows") {
  if (args.size() != 1) return 2;
  HWND box = FindTop(args[0]);
  if (!box) return 1;
  struct Known {
    const wchar_t* id;
    const char* name;
  };
  const Known known[] = {{IDI_HAND, "hand"}, {IDI_QUESTION, "question"}, {IDI_EXCLAMATION, "exclamation"},
                         {IDI_ASTERISK, "asterisk"}};
  // The icon is the box's static control of the icon kind; its picture is
  // read from the screen (another process's icon handle cannot be drawn here)
  // and compared with each system icon drawn on the same background.
  HWND shown = nullptr;
  for (HWND child = GetWindow(box, GW_CHILD); child && !shown; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0 && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) shown = child;
  }
  if (!shown) {
    Printf("none\n");
    return 0;
  }
  RedrawWindow(box, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT place{};
  GetWindowRect(shown, &place);
  const std::vector<DWORD> onScreen = Pixels(nullptr, 0, place.left, place.top);
  const COLORREF background = RGB((onScreen[0] >> 16) & 0xFF, (onScreen[0] >> 8) & 0xFF, onScreen[0] & 0xFF);
  for (const Known& k : known) {
    if (Pixels(LoadIconW(nullptr, k.id), background, 0, 0) == onScreen) {
      Printf("%s\n", k.name);
      return 0;
    }
  }
  Printf("other\n");
  return 0;
}
