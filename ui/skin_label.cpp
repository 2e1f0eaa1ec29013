#include "ui/skin_label.h"

#include <commctrl.h>

#include <vector>

#include "ui/picture.h"

using framlet::ui::SelectGuard;

bool CSkinLabel::Attach(HWND dialog, int id) {
  if (!TakeOver(dialog, id)) return false;
  InvalidateRect(hwnd_, nullptr, TRUE);
  return true;
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
  // The control reports the font it is drawn with, so what measures its text measures what shows.
  if (!hwnd_) return;
  SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  InvalidateRect(hwnd_, nullptr, TRUE);
}

HFONT CSkinLabel::TextFont() const {
  if (font_) return font_;
  if (!hwnd_) return nullptr;
  if (HFONT own = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0))) return own;
  return reinterpret_cast<HFONT>(SendMessageW(GetParent(hwnd_), WM_GETFONT, 0, 0));
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

void CSkinLabel::Draw(HDC memory, const RECT& client) {
  if (transparent_) {
    framlet::ui::DrawParentBackground(hwnd_, memory);
  } else {
    framlet::ui::Brush brush(CreateSolidBrush(backColour_));
    FillRect(memory, &client, brush);
  }
  const HFONT font = TextFont();
  SelectGuard selectFont(memory, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(memory, TRANSPARENT);
  SetTextColor(memory, textColour_);
  const std::wstring text = Text();
  RECT area = client;
  DrawTextW(memory, text.c_str(), static_cast<int>(text.size()), &area,
            alignment_ | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

LRESULT CSkinLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTEXT) {
    // The static control would paint the new text itself; repaint with the skin instead.
    const LRESULT result = Default(message, wParam, lParam);
    InvalidateRect(hwnd_, nullptr, FALSE);
    return result;
  }
  return Default(message, wParam, lParam);
}
