#include "ui/check_paint.h"

#include <uxtheme.h>
#include <vsstyle.h>

#include <string>
#include <vector>

#include "ui/gdi.h"

namespace framlet::ui {

namespace {

enum class Kind { Other, Check, Radio, ThreeState };

Kind KindOf(HWND button) {
  wchar_t className[16] = {};
  GetClassNameW(button, className, 16);
  if (_wcsicmp(className, WC_BUTTONW) != 0) return Kind::Other;
  const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(button, GWL_EXSTYLE);
  if ((style & (BS_PUSHLIKE | BS_LEFTTEXT | BS_MULTILINE)) || (exStyle & WS_EX_RIGHT)) return Kind::Other;
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      return Kind::Check;
    case BS_3STATE:
    case BS_AUTO3STATE:
      return Kind::ThreeState;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
      return Kind::Radio;
  }
  return Kind::Other;
}

// The box, vertically centred in the client rectangle as the button control places it.
RECT BoxRect(const RECT& client) {
  RECT box = {client.left, client.top, client.left + kCheckBoxSize, client.bottom};
  const int delta = (client.bottom - client.top) - kCheckBoxSize;
  if (delta > 0)
    box.bottom -= delta / 2 + 1;
  else if (delta < 0)
    box.bottom = client.top + kCheckBoxSize - (-delta / 2 + 1);
  box.top = box.bottom - kCheckBoxSize;
  return box;
}

void DrawBox(HWND button, HDC dc, const RECT& box, Kind kind, LRESULT check, UINT itemState) {
  const bool checked = check == BST_CHECKED;
  const bool mixed = check == BST_INDETERMINATE;
  const bool disabled = itemState & CDIS_DISABLED;
  const bool pressed = itemState & CDIS_SELECTED;
  const bool hot = itemState & CDIS_HOT;
  if (HTHEME theme = OpenThemeData(button, L"BUTTON")) {
    int part = BP_CHECKBOX, state = 0;
    if (kind == Kind::Radio) {
      part = BP_RADIOBUTTON;
      state = checked ? RBS_CHECKEDNORMAL : RBS_UNCHECKEDNORMAL;
    } else {
      state = mixed ? CBS_MIXEDNORMAL : checked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    }
    // Each state's row holds normal, hot, pressed and disabled in that order.
    state += disabled ? 3 : pressed ? 2 : hot ? 1 : 0;
    DrawThemeBackground(theme, dc, part, state, &box, nullptr);
    CloseThemeData(theme);
    return;
  }
  UINT flags = kind == Kind::Radio ? DFCS_BUTTONRADIO : mixed ? DFCS_BUTTON3STATE : DFCS_BUTTONCHECK;
  if (checked || mixed) flags |= DFCS_CHECKED;
  if (pressed) flags |= DFCS_PUSHED;
  if (disabled) flags |= DFCS_INACTIVE;
  RECT frame = box;
  DrawFrameControl(dc, &frame, DFC_BUTTON, flags);
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
  GetWindowTextW(window, text.data(), length + 1);
  return text.data();
}

}  // namespace

LRESULT PaintCheckAtPixelSize(const NMCUSTOMDRAW& draw) {
  if (draw.hdr.code != NM_CUSTOMDRAW || draw.dwDrawStage != CDDS_PREERASE) return CDRF_DODEFAULT;
  HWND button = draw.hdr.hwndFrom;
  const Kind kind = KindOf(button);
  if (kind == Kind::Other) return CDRF_DODEFAULT;

  HDC dc = draw.hdc;
  RECT client = {};
  GetClientRect(button, &client);
  HWND parent = GetParent(button);
  // The parent's colours for static text, as the control asks for them.
  HBRUSH background = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)));
  if (!background)
    background = reinterpret_cast<HBRUSH>(
        DefWindowProcW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(button)));
  FillRect(dc, &client, background);

  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
  SelectGuard selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
  DrawBox(button, dc, BoxRect(client), kind, SendMessageW(button, BM_GETCHECK, 0, 0), draw.uItemState);

  INT digit = 0;
  GetCharWidth32W(dc, L'0', L'0', &digit);
  RECT label = client;
  label.left += kCheckBoxSize + digit / 2;
  const std::wstring text = TextOf(button);
  if (text.empty()) return CDRF_SKIPDEFAULT;
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColour = 0;
  const bool disabled = draw.uItemState & CDIS_DISABLED;
  if (disabled) oldColour = SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  const UINT format = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, format);
  if (disabled) SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);

  if (draw.uItemState & CDIS_FOCUS) {
    RECT measured = label;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
    // Centred vertically like the text, one pixel wider on each side, inside the client area.
    const int height = measured.bottom - measured.top;
    measured.top = label.top + ((label.bottom - label.top) - height) / 2;
    measured.bottom = measured.top + height;
    InflateRect(&measured, 1, 0);
    IntersectRect(&measured, &measured, &client);
    DrawFocusRect(dc, &measured);
  }
  return CDRF_SKIPDEFAULT;
}

}  // namespace framlet::ui
