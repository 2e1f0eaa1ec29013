#include "web/browser_tab_bar.h"

#include <algorithm>

#include "resource.h"

namespace {

constexpr wchar_t kNoMoreTabs[] =
    L"\uB354\uC774\uC0C1 \uBE0C\uB77C\uC6B0\uC838\uB97C \uC0DD\uC131\uD560 \uC218 \uC5C6\uC2B5\uB2C8\uB2E4. ";

}  // namespace

CBrowserTabBar::CBrowserTabBar(IBrowserTabHost& host) : CDialogBase(IDD_BROWSER_TAB_BAR), host_(host) {}

CBrowserTabBar::~CBrowserTabBar() {
  if (IsOpen()) DestroyWindow(Hwnd());
}

bool CBrowserTabBar::Create(HWND frame) {
  // The template names a class of its own, so that the bar is told apart from
  // the frame's toolbar panels; it is an ordinary dialog window otherwise.
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!GetClassInfoExW(Instance(), kClassName, &wc)) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefDlgProcW;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CDialogBase::Create(frame) && strip_.Hwnd() != nullptr;
}

void CBrowserTabBar::Place(int x, int y, int width, int height) {
  if (!IsOpen()) return;
  SetWindowPos(Hwnd(), nullptr, x, y, std::max(0, width), std::max(0, height), SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CBrowserTabBar::OnInitDialog() {
  HWND hwnd = Hwnd();
  SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
  // The strip and one hidden placeholder per possible tab; without them the bar cannot work.
  const RECT none = {};
  bool made = strip_.Create(hwnd, kStripId, none);
  for (int i = 0; made && i < framlet::address::kTabSlots; ++i) {
    placeholders_[i] =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_MULTILINE, 0, 0, 0, 0, strip_.Hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstPlaceholderId + i)), Instance(), nullptr);
    made = placeholders_[i] != nullptr;
  }
  if (!made) {
    Close();
    return FALSE;
  }

  ShowWindow(Item(kAnchorId), SW_HIDE);
  tabImages_ = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 1);
  buttonImages_ = ImageList_LoadImageW(Instance(), MAKEINTRESOURCEW(IDB_TAB_BUTTONS), 14, 1, RGB(255, 0, 255),
                                       IMAGE_BITMAP, LR_CREATEDIBSECTION);
  strip_.SetButtonImages(buttonImages_);
  strip_.SetButtonCursor(LoadCursorW(nullptr, IDC_HAND));
  strip_.SetOption(CTabStrip::kOptionOwnerCloses, true);
  strip_.SetNotifyWindow(hwnd);
  strip_.SetColours(kBackColour, RGB(214, 214, 214), RGB(255, 255, 255), RGB(0, 0, 0));
  backBrush_.Reset(CreateSolidBrush(kBackColour));
  LayOut();
  strip_.Redraw();
  return FALSE;
}

void CBrowserTabBar::OnDestroy() {
  if (tabImages_) ImageList_Destroy(tabImages_);
  if (buttonImages_) ImageList_Destroy(buttonImages_);
  tabImages_ = buttonImages_ = nullptr;
  pageImage_ = -1;
}

void CBrowserTabBar::LayOut() {
  HWND anchor = Item(kAnchorId);
  if (!anchor || !strip_.Hwnd()) return;
  RECT a = {};
  GetWindowRect(anchor, &a);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&a), 2);
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  SetWindowPos(strip_.Hwnd(), nullptr, a.left, a.top, std::max(0L, client.right - a.left),
               std::max(0L, client.bottom - a.top), SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CBrowserTabBar::FreePlaceholder() const {
  bool tied[framlet::address::kTabSlots] = {};
  for (int t = 0; t < strip_.Count(); ++t)
    for (int i = 0; i < framlet::address::kTabSlots; ++i)
      if (strip_.TabWindow(t) == placeholders_[i]) tied[i] = true;
  const int slot = framlet::address::FirstFreeSlot(tied);
  return slot >= 0 ? placeholders_[slot] : nullptr;
}

void CBrowserTabBar::AddTitle(const std::wstring& title) {
  if (!IsOpen()) return;
  HWND placeholder = FreePlaceholder();
  if (!placeholder) {
    MessageBoxW(Hwnd(), kNoMoreTabs, L"", MB_OK);
    strip_.Redraw();
    return;
  }
  if (strip_.Active() >= 0) {
    strip_.RemoveTab(strip_.Active());
    strip_.Redraw();
  }
  // The page icon goes into the list once; every tab shows it.
  if (pageImage_ < 0 && tabImages_) {
    if (HICON icon = static_cast<HICON>(LoadImageW(Instance(), MAKEINTRESOURCEW(IDI_PAGE), IMAGE_ICON, 16, 16, 0))) {
      pageImage_ = ImageList_AddIcon(tabImages_, icon);
      DestroyIcon(icon);
    }
    strip_.SetImageList(tabImages_);
  }
  try {
    strip_.AddTab(placeholder, framlet::address::TabTitle(title), 0);
  } catch (...) {
    // A title that cannot be stored (out of memory) is not shown; the page goes on.
  }
  strip_.Redraw();
}

void CBrowserTabBar::OnCloseClicked() {
  if (!host_.SignedIn()) {
    host_.RequireSignIn();
    return;
  }
  if (strip_.Active() >= 0) {
    strip_.RemoveTab(strip_.Active());
    strip_.Redraw();
  }
  host_.EnterNormalMode();
}

void CBrowserTabBar::OnCommand(int, int, HWND) {
  // Enter and Escape never close the bar; its controls send nothing it acts on.
}

INT_PTR CBrowserTabBar::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return TRUE;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && header->hwndFrom == strip_.Hwnd() && header->code == CTabStrip::kCloseClicked) OnCloseClicked();
      return TRUE;
    }
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      SetBkMode(dc, TRANSPARENT);
      SetBkColor(dc, kBackColour);
      return reinterpret_cast<INT_PTR>(backBrush_.Get());
    }
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
