#include "windows/dialog_text.h"

#include <vector>

namespace framlet::dialogs {

ui::Font MakeControlFont() {
  return ui::Font(CreateFontW(12, 0, 0, 0, 550, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"굴림"));
}

std::string ItemTextA(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  if (!control) return std::string();
  const int length = GetWindowTextLengthA(control);
  std::vector<char> buffer(static_cast<size_t>(length) + 2, '\0');
  const int copied = GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
  return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::string ToSystemCodePage(const wchar_t* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return std::string();
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, out.data(), size, nullptr, nullptr);
  out.resize(static_cast<size_t>(size) - 1);
  return out;
}

}  // namespace framlet::dialogs

namespace framlet::dialogs {

void PlaceControls(HWND dialog, const std::vector<options::ControlPlace>& layout) {
  for (const options::ControlPlace& c : layout) {
    if (HWND control = GetDlgItem(dialog, c.id))
      MoveWindow(control, c.place.x, c.place.y, c.place.width, c.place.height, FALSE);
  }
}

}  // namespace framlet::dialogs
