#include "ui/tab_strip.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr int kButtonSize = 14;
constexpr int kButtonGap = 4;
constexpr int kTabWidth = 180;
constexpr int kTabGap = 2;
constexpr int kIconSize = 16;

const wchar_t* const kButtonTips[CTabStrip::kButtonCount] = {L"\uC774\uC804", L"\uB2E4\uC74C", L"\uC0C8 \uD0ED",
                                                             L"\uB2EB\uAE30"};

}  // namespace

CTabStrip::~CTabStrip() {
  if (tips_ && IsWindow(tips_)) DestroyWindow(tips_);
}

bool CTabStrip::Create(HWND parent, int id, const RECT& rect, DWORD style) {
  if (!CreateWindowOf(kClassName, style, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
    return false;
  receiver_ = parent;
  tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, nullptr, nullptr);
  AddTips();
  return true;
}

void CTabStrip::AddTips() {
  if (!tips_) return;
  for (int b = 0; b < kButtonCount; ++b) {
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.hwnd = Hwnd();
    info.uId = static_cast<UINT_PTR>(b + 1);
    info.rect = ButtonRect(static_cast<Button>(b));
    info.lpszText = const_cast<wchar_t*>(kButtonTips[b]);
    // The first call adds the tool, later ones only move it.
    if (!SendMessageW(tips_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info)))
      SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  }
}

void CTabStrip::SetButtonImages(HIMAGELIST images) {
  buttonImages_ = images;
  Redraw();
}

void CTabStrip::SetImageList(HIMAGELIST images) {
  images_ = images;
  Redraw();
}

void CTabStrip::SetOption(int option, bool on) {
  if (option < 1 || option > 31) return;
  const unsigned bit = 1u << option;
  options_ = on ? (options_ | bit) : (options_ & ~bit);
}

bool CTabStrip::Option(int option) const {
  return option >= 1 && option <= 31 && (options_ & (1u << option)) != 0;
}

void CTabStrip::SetColours(COLORREF back, COLORREF tab, COLORREF activeTab, COLORREF text) {
  back_ = back;
  tab_ = tab;
  activeTab_ = activeTab;
  text_ = text;
  Redraw();
}

HWND CTabStrip::TabWindow(int index) const {
  return index >= 0 && index < Count() ? tabs_[index].tied : nullptr;
}

std::wstring CTabStrip::TabText(int index) const {
  return index >= 0 && index < Count() ? tabs_[index].text : std::wstring();
}

int CTabStrip::TabImage(int index) const {
  return index >= 0 && index < Count() ? tabs_[index].image : -1;
}

void CTabStrip::SetActive(int index) {
  if (index < -1 || index >= Count()) return;
  active_ = index;
  // Keep the active tab in view.
  if (active_ >= 0 && active_ < firstShown_) firstShown_ = active_;
  while (active_ >= 0 && firstShown_ < active_) {
    const RECT r = TabRect(active_);
    if (!IsRectEmpty(&r)) break;
    ++firstShown_;
  }
  Redraw();
}

void CTabStrip::RemoveTab(int index) {
  if (index < 0 || index >= Count()) return;
  tabs_.erase(tabs_.begin() + index);
  if (tabs_.empty()) {
    active_ = -1;
  } else if (active_ > index || active_ >= Count()) {
    --active_;
  }
  firstShown_ = std::max(0, std::min(firstShown_, Count() - 1));
  Redraw();
}

int CTabStrip::AddTab(HWND tied, const std::wstring& text, int image) {
  tabs_.push_back({tied, text, image});
  SetActive(Count() - 1);
  return active_;
}

void CTabStrip::Redraw() {
  if (!Hwnd()) return;
  // The window text follows the active tab, for readers outside the program.
  const std::wstring text = TabText(active_);
  DefWindowProcW(Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  AddTips();
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

bool CTabStrip::Overflows() const {
  if (!Hwnd()) return false;
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int room = client.right - 2 * (kButtonSize + kButtonGap) - kButtonGap;
  return Count() * (kTabWidth + kTabGap) > room;
}

RECT CTabStrip::ButtonRect(Button button) const {
  RECT r = {};
  if (!Hwnd() || button < 0 || button >= kButtonCount) return r;
  if ((button == kScrollLeft || button == kScrollRight) && !Overflows()) return r;
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  // From the right: close, new tab, scroll right, scroll left.
  const int slot = kButtonCount - 1 - button;
  const int right = client.right - kButtonGap - slot * (kButtonSize + kButtonGap);
  const int top = (client.bottom - kButtonSize) / 2;
  SetRect(&r, right - kButtonSize, top, right, top + kButtonSize);
  return r;
}

RECT CTabStrip::TabRect(int index) const {
  RECT r = {};
  if (!Hwnd() || index < firstShown_ || index >= Count()) return r;
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int buttons = Overflows() ? kButtonCount : 2;
  const int limit = client.right - buttons * (kButtonSize + kButtonGap) - kButtonGap;
  const int left = (index - firstShown_) * (kTabWidth + kTabGap);
  if (left >= limit) return r;
  SetRect(&r, left, 2, std::min(left + kTabWidth, limit), client.bottom);
  return r;
}

CTabStrip::Hit CTabStrip::HitAt(int x, int y) const {
  Hit hit;
  const POINT p = {x, y};
  for (int b = 0; b < kButtonCount; ++b) {
    const RECT r = ButtonRect(static_cast<Button>(b));
    if (PtInRect(&r, p)) {
      hit.button = b;
      return hit;
    }
  }
  for (int i = firstShown_; i < Count(); ++i) {
    const RECT r = TabRect(i);
    if (PtInRect(&r, p)) {
      hit.tab = i;
      break;
    }
  }
  return hit;
}

void CTabStrip::Send(UINT code, int tab) {
  if (!receiver_ || !IsWindow(receiver_)) return;
  TabStripNotify notify = {};
  notify.hdr.hwndFrom = Hwnd();
  notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Hwnd()));
  notify.hdr.code = code;
  notify.tab = tab;
  SendMessageW(receiver_, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CTabStrip::Paint(HDC dc, const RECT& client) {
  framlet::ui::Brush back(CreateSolidBrush(back_));
  FillRect(dc, &client, back);
  framlet::ui::Brush tab(CreateSolidBrush(tab_));
  framlet::ui::Brush active(CreateSolidBrush(activeTab_));
  framlet::ui::Pen edge(CreatePen(PS_SOLID, 1, RGB(160, 160, 160)));
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(Hwnd()), WM_GETFONT, 0, 0));
  framlet::ui::SelectGuard fontGuard(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  framlet::ui::SelectGuard penGuard(dc, edge.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_);
  for (int i = firstShown_; i < Count(); ++i) {
    RECT r = TabRect(i);
    if (IsRectEmpty(&r)) break;
    framlet::ui::SelectGuard brushGuard(dc, i == active_ ? active.Get() : tab.Get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom + 4, 5, 5);
    int textLeft = r.left + 4;
    if (images_ && tabs_[i].image >= 0) {
      ImageList_Draw(images_, tabs_[i].image, dc, r.left + 4, r.top + (r.bottom - r.top - kIconSize) / 2,
                     ILD_TRANSPARENT);
      textLeft += kIconSize + 3;
    }
    RECT text = {textLeft, r.top, r.right - 4, r.bottom};
    DrawTextW(dc, tabs_[i].text.c_str(), static_cast<int>(tabs_[i].text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  for (int b = 0; b < kButtonCount; ++b) {
    const RECT r = ButtonRect(static_cast<Button>(b));
    if (IsRectEmpty(&r)) continue;
    if (buttonImages_) {
      ImageList_Draw(buttonImages_, b, dc, r.left, r.top, ILD_TRANSPARENT);
    } else {
      Rectangle(dc, r.left, r.top, r.right, r.bottom);
    }
  }
}

LRESULT CTabStrip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      framlet::ui::PaintDC paint(Hwnd());
      RECT client = {};
      GetClientRect(Hwnd(), &client);
      // Drawn off screen and copied in one go, so the strip never flickers.
      framlet::ui::MemoryDC memory(paint);
      framlet::ui::Bitmap canvas(
          CreateCompatibleBitmap(paint, std::max(1L, client.right), std::max(1L, client.bottom)));
      {
        framlet::ui::SelectGuard select(memory, canvas.Get());
        Paint(memory, client);
        BitBlt(paint, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
      }
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      Redraw();
      return 0;
    case WM_SETCURSOR:
      if (buttonCursor_ && LOWORD(lParam) == HTCLIENT) {
        POINT p = {};
        GetCursorPos(&p);
        ScreenToClient(Hwnd(), &p);
        if (HitAt(p.x, p.y).button >= 0) {
          SetCursor(buttonCursor_);
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const Hit hit = HitAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      // A quick second click on a button is a press of its own, not a double click.
      if (message == WM_LBUTTONDBLCLK && hit.button < 0) {
        if (hit.tab >= 0) Send(kTabDoubleClick, hit.tab);
        return 0;
      }
      if (hit.button >= 0) {
        pressedButton_ = hit.button;
        SetCapture(Hwnd());
      } else if (hit.tab >= 0) {
        Send(kTabMouseDown, hit.tab);
        if (hit.tab != active_) {
          SetActive(hit.tab);
          Send(kActiveChanged, hit.tab);
        }
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      const int pressed = pressedButton_;
      pressedButton_ = -1;
      if (GetCapture() == Hwnd()) ReleaseCapture();
      if (pressed < 0 || HitAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)).button != pressed) return 0;
      switch (pressed) {
        case kScrollLeft:
          if (firstShown_ > 0) --firstShown_;
          Redraw();
          break;
        case kScrollRight:
          if (firstShown_ < Count() - 1) ++firstShown_;
          Redraw();
          break;
        case kNewTab:
          Send(kNewTabClicked, -1);
          break;
        case kClose:
          Send(kCloseClicked, active_);
          break;
      }
      return 0;
    }
    case kGetCount:
      return Count();
    case kGetActive:
      return active_;
    case kGetButtonPos: {
      const RECT r = ButtonRect(static_cast<Button>(wParam));
      return IsRectEmpty(&r) ? -1 : MAKELONG(r.left, r.top);
    }
    case WM_CAPTURECHANGED:
      pressedButton_ = -1;
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      const Hit hit = HitAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (hit.tab >= 0) Send(message == WM_RBUTTONDOWN ? kTabRButtonDown : kTabRButtonUp, hit.tab);
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      // A hidden strip takes its tip with it, and shows none until it is
      // shown again (a tip waiting to appear would otherwise float alone).
      const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (tips_ && (pos->flags & (SWP_HIDEWINDOW | SWP_SHOWWINDOW)))
        SendMessageW(tips_, TTM_ACTIVATE, (pos->flags & SWP_SHOWWINDOW) ? TRUE : FALSE, 0);
      break;
    }
    case WM_MOUSEMOVE:
      if (tips_) {
        MSG msg = {Hwnd(), message, wParam, lParam, 0, {}};
        SendMessageW(tips_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
      }
      return 0;
  }
  return CWindowBase::HandleMessage(message, wParam, lParam);
}
