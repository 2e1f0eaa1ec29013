#include "ui/skin_label.h"

#include <commctrl.h>

#include <vector>

#include "ui/picture.h"

using framlet::ui::MemoryDC;
using framlet::ui::PaintDC;
using framlet::ui::SelectGuard;

namespace {
constexpr UINT_PTR kSubclassId = 0x534B4C31;
}

CSkinLabel::~CSkinLabel() {
  Detach();
}

bool CSkinLabel::Attach(HWND dialog, int id) {
  Detach();
  HWND control = GetDlgItem(dialog, id);
  if (!control) return false;
  hwnd_ = control;
  SetWindowSubclass(control, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CSkinLabel::Detach() {
  if (hwnd_ && IsWindow(hwnd_)) RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  hwnd_ = nullptr;
}

void CSkinLabel::SetTextColour(COLORREF colour) {
  textColour_ = colour;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinLabel::SetBackground(COLORREF colour) {
  backColour_ = colour;
  transparent_ = false;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinLabel::SetTransparent() {
  transparent_ = true;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinLabel::SetFont(HFONT font) {
  font_ = font;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void CSkinLabel::SetText(const std::wstring& text) {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_HIDE);
  SetWindowTextW(hwnd_, text.c_str());
  ShowWindow(hwnd_, SW_SHOW);
}

std::wstring CSkinLabel::Text() const {
  if (!hwnd_) return {};
  const int length = GetWindowTextLengthW(hwnd_);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  GetWindowTextW(hwnd_, buffer.data(), length + 1);
  return std::wstring(buffer.data());
}

void CSkinLabel::Show(bool visible) {
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool CSkinLabel::Visible() const {
  return hwnd_ && (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE);
}

void CSkinLabel::Move(int x, int y, int width, int height, bool repaint) {
  if (hwnd_) MoveWindow(hwnd_, x, y, width, height, repaint);
}

void CSkinLabel::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, client.right, client.bottom));
  SelectGuard selectCanvas(memory, canvas);
  if (transparent_) {
    framlet::ui::DrawParentBackground(hwnd_, memory);
  } else {
    framlet::ui::Brush brush(CreateSolidBrush(backColour_));
    FillRect(memory, &client, brush);
  }
  HFONT font = font_ ? font_ : reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd_), WM_GETFONT, 0, 0));
  SelectGuard selectFont(memory, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, textColour_);
  const std::wstring text = Text();
  RECT area = client;
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &area,
            alignment_ | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
}

LRESULT CSkinLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_PAINT: {
      PaintDC dc(hwnd);
      Paint(dc);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      // The static control would paint the new text itself; repaint with the skin instead.
      const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, SubclassProc, kSubclassId);
      hwnd_ = nullptr;
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK CSkinLabel::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR refData) {
  auto* self = reinterpret_cast<CSkinLabel*>(refData);
  if (!self || self->hwnd_ != hwnd) return DefSubclassProc(hwnd, message, wParam, lParam);
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(hwnd, message, wParam, lParam);
  }
}
