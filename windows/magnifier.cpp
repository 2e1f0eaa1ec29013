#include "windows/magnifier.h"

#include <cwchar>

#include "core/command_ids.h"
#include "resource.h"
#include "windows/magnifier_rules.h"
#include "windows/region_rules.h"

namespace mag = framlet::magnifier;
using framlet::ui::SelectGuard;

namespace {

constexpr UINT_PTR kDrawTimer = 0;
constexpr COLORREF kCrossColour = 0xFFE400;
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr wchar_t kClassName[] = L"FramletMagnifier";

// The cursor position at the last draw, shared by every magnifier.
POINT g_lastDrawn = {0, 0};

// The label's place in the panel, its font and colour.
constexpr RECT kLabelPlace = {10, 135, 10 + 115, 135 + 13};
constexpr int kLabelFontHeight = 13;
constexpr int kLabelFontWeight = 550;
constexpr COLORREF kLabelText = RGB(255, 255, 255);

}  // namespace

CMYMagnify::CMYMagnify() : zoom(mag::kZoom), timerInterval(0), crossHair(1) {}

CMYMagnify::~CMYMagnify() {
  Destroy();
  FreeSurfaces();
}

bool CMYMagnify::Surface::Fit(HDC screen, int width, int height) {
  if (dc && size.cx == width && size.cy == height) return true;
  Free();
  dc = CreateCompatibleDC(screen);
  image = CreateCompatibleBitmap(screen, width, height);
  if (!dc || !image) {
    Free();
    return false;
  }
  previous = SelectObject(dc, image);
  size = {width, height};
  return true;
}

void CMYMagnify::Surface::Free() {
  if (dc && previous) SelectObject(dc, previous);
  if (image) DeleteObject(image);
  if (dc) DeleteDC(dc);
  *this = Surface();
}

void CMYMagnify::FreeSurfaces() {
  view_.Free();
  source_.Free();
}

bool CMYMagnify::Create(HWND parent, int x, int y, int width, int height) {
  if (!CreateWindowOf(kClassName, WS_CHILD | WS_VISIBLE, 0, x, y, width, height, parent)) return false;
  crossPen_.Reset(CreatePen(PS_SOLID, mag::kCrossPenWidth, kCrossColour));
  silverPen_.Reset(CreatePen(PS_SOLID, 1, kSilver));
  silverBrush_.Reset(CreateSolidBrush(kSilver));
  // An interval of 0 gives the platform's shortest timer period.
  SetTimer(Hwnd(), kDrawTimer, timerInterval, nullptr);
  return true;
}

LRESULT CMYMagnify::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kDrawTimer) Draw();
      return 0;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      KillTimer(Hwnd(), kDrawTimer);
      FreeSurfaces();
      break;
  }
  return CWindowBase::HandleMessage(message, wParam, lParam);
}

bool CMYMagnify::Draw(bool force) {
  HWND hwnd = Hwnd();
  // Nothing shows while the panel is hidden: no screen reads for it.
  if (!hwnd || !IsWindowVisible(hwnd)) return false;
  POINT cursor = {};
  if (!GetCursorPos(&cursor)) return false;
  if (!force && cursor.x == g_lastDrawn.x && cursor.y == g_lastDrawn.y && view_.dc) return false;
  g_lastDrawn = cursor;

  RECT client = {};
  GetClientRect(hwnd, &client);
  const int cw = client.right;
  const int ch = client.bottom;
  const mag::Area source =
      mag::SourceArea(cursor.x, cursor.y, cw, ch, static_cast<int>(zoom), GetSystemMetrics(SM_CYSCREEN));
  if (cw <= 0 || ch <= 0 || source.width <= 0 || source.height <= 0) return false;

  framlet::ui::WindowDC screen(nullptr);
  if (!screen || !view_.Fit(screen, cw, ch) || !source_.Fit(screen, source.width, source.height)) return false;
  HDC sourceDC = source_.dc;
  HDC viewDC = view_.dc;
  // Only the part on the screen is read; the rest stays black.
  PatBlt(sourceDC, 0, 0, source.width, source.height, BLACKNESS);
  const mag::Area desktop = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  const mag::Copy copy = mag::ClipToScreen(source, desktop);
  if (copy.any) {
    BitBlt(sourceDC, copy.destX, copy.destY, copy.screen.width, copy.screen.height, screen, copy.screen.x,
           copy.screen.y, SRCCOPY);
  }
  // The magnifier never shows itself.
  RECT own = {};
  GetWindowRect(hwnd, &own);
  const mag::Area cover = mag::SelfCover({own.left, own.top, own.right - own.left, own.bottom - own.top}, source);
  {
    SelectGuard useBrush(sourceDC, silverBrush_);
    SelectGuard usePen(sourceDC, silverPen_);
    Rectangle(sourceDC, cover.x, cover.y, cover.x + cover.width, cover.y + cover.height);
  }
  StretchBlt(viewDC, 0, 0, cw, ch, sourceDC, 0, 0, source.width, source.height, SRCCOPY);
  if (crossHair) {
    SelectGuard usePen(viewDC, crossPen_);
    const int oldMix = SetROP2(viewDC, R2_COPYPEN);
    MoveToEx(viewDC, 0, mag::kCrossRow, nullptr);
    LineTo(viewDC, mag::kCrossLength, mag::kCrossRow);
    MoveToEx(viewDC, mag::kCrossColumn, 0, nullptr);
    LineTo(viewDC, mag::kCrossColumn, mag::kCrossLength);
    SetROP2(viewDC, oldMix);
  }
  framlet::ui::WindowDC ownDC(hwnd);
  Present(ownDC);
  return true;
}

void CMYMagnify::Present(HDC dc) {
  if (!view_.dc) return;
  BitBlt(dc, 0, 0, view_.size.cx, view_.size.cy, view_.dc, 0, 0, SRCCOPY);
}

void CMYMagnify::OnPaint() {
  framlet::ui::PaintDC dc(Hwnd());
  // A repaint without a cursor move shows the kept view again.
  if (!view_.dc) {
    RECT client = {};
    GetClientRect(Hwnd(), &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return;
  }
  Present(dc);
}

// ---- The panel ----

CMagnifierPanel::CMagnifierPanel() : CDialogBase(IDD_MAGNIFIER_PANEL) {}

BOOL CMagnifierPanel::OnInitDialog() {
  HWND hwnd = Hwnd();
  background_.Load(IDB_MAGNIFIER_PANEL);
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd, framlet::ui::kColourKey, 0, LWA_COLORKEY);
  SetWindowPos(hwnd, HWND_TOPMOST, framlet::region::kPanelStart.x, framlet::region::kPanelStart.y,
               framlet::region::kPanelWidth, framlet::region::kPanelHeight, SWP_NOACTIVATE);
  magnifier_.Create(hwnd, mag::kPanelLeft, mag::kPanelTop, mag::kClientWidth, mag::kClientHeight);

  // The label lies on the panel's picture: its background is the picture
  // itself, so changing text leaves no trace of the old one.
  if (background_) labelBrush_.Reset(CreatePatternBrush(background_.Handle()));
  LOGFONTW lf = {};
  lf.lfHeight = kLabelFontHeight;
  lf.lfWeight = kLabelFontWeight;
  lf.lfCharSet = DEFAULT_CHARSET;
  wcscpy(lf.lfFaceName, L"굴림");
  labelFont_.Reset(CreateFontIndirectW(&lf));
  HWND label = Item(IDC_MAGNIFIER_LABEL);
  if (label) {
    SetWindowPos(label, nullptr, kLabelPlace.left, kLabelPlace.top, kLabelPlace.right - kLabelPlace.left,
                 kLabelPlace.bottom - kLabelPlace.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.Get()), FALSE);
  }
  return FALSE;
}

void CMagnifierPanel::OnDestroy() {
  magnifier_.Destroy();
}

void CMagnifierPanel::OnCommand(int id, int code, HWND control) {
  // Enter and Escape close nothing: the panel lives as long as its owner.
  if (id == IDOK || id == IDCANCEL) return;
  CDialogBase::OnCommand(id, code, control);
}

void CMagnifierPanel::MoveTo(int left, int top, int x, int y) {
  HWND hwnd = Hwnd();
  if (!hwnd) return;
  cursorX = x;
  cursorY = y;
  RECT now = {};
  GetWindowRect(hwnd, &now);
  if (now.left == left && now.top == top) return;
  SetWindowPos(hwnd, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  wchar_t text[48];
  swprintf(text, 48, L"%d X %d", x, y);
  SetDlgItemTextW(hwnd, IDC_MAGNIFIER_LABEL, text);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void CMagnifierPanel::OnPaint() {
  framlet::ui::PaintDC dc(Hwnd());
  if (background_) background_.Draw(dc, 0, 0);
}

INT_PTR CMagnifierPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_ERASEBKGND:
      return Result(1);
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kLabelText);
      SetBkMode(dc, TRANSPARENT);
      SetBrushOrgEx(dc, -kLabelPlace.left, -kLabelPlace.top, nullptr);
      return reinterpret_cast<INT_PTR>(labelBrush_ ? labelBrush_.Get() : GetStockObject(BLACK_BRUSH));
    }
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
