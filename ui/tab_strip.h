#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui/gdi.h"
#include "ui/window_base.h"

// The toolkit's tab strip (window class "TabCtrl"): a row of tabs, each tied to
// a window of the owner's choosing, with an image from the strip's image list
// and a text, and four small buttons on the right taken from a 14 x 14 button
// image list (cells: scroll left, scroll right, new tab, close). The scroll
// buttons show only while the tabs do not all fit.
//
// It reports to its notification receiver through WM_NOTIFY (a TabStripNotify
// whose hdr.code is one of the codes below); a button reports when the left
// button is released over the same button it was pressed on.
class CTabStrip : public CWindowBase {
 public:
  static constexpr wchar_t kClassName[] = L"TabCtrl";

  // Notification codes (hdr.code of a TabStripNotify).
  enum Notify : UINT {
    kCloseClicked = 1,  // the close button ("닫기")
    kNewTabClicked,     // the new-tab button ("새 탭")
    kActiveChanged,     // a click made another tab active
    kTabMouseDown,      // left button down on a tab
    kTabDoubleClick,
    kTabRButtonDown,
    kTabRButtonUp,
  };
  struct TabStripNotify {
    NMHDR hdr;
    int tab;  // the tab concerned, or -1
  };

  // Messages other programs (and the accessibility of the window text) may
  // send: the tab count, the active tab, a button's top-left corner in client
  // coordinates packed as MAKELONG(x, y) (-1 when not shown). The strip's
  // window text is its active tab's text.
  static constexpr UINT kGetCount = WM_USER + 1;
  static constexpr UINT kGetActive = WM_USER + 2;
  static constexpr UINT kGetButtonPos = WM_USER + 3;

  // Button cells of the button image list, in order.
  enum Button { kScrollLeft = 0, kScrollRight, kNewTab, kClose, kButtonCount };

  // Option 1: the close button closes the active tab only through the owner
  // (the strip never removes a tab by itself); the strip keeps it as a flag.
  static constexpr int kOptionOwnerCloses = 1;

  CTabStrip() = default;
  ~CTabStrip() override;

  bool Create(HWND parent, int id, const RECT& rect, DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN);

  // The lists are not owned; the caller keeps them alive while the strip uses them.
  void SetButtonImages(HIMAGELIST images);
  void SetButtonCursor(HCURSOR cursor) { buttonCursor_ = cursor; }
  void SetImageList(HIMAGELIST images);
  HIMAGELIST ImageList() const { return images_; }
  void SetOption(int option, bool on);
  bool Option(int option) const;
  void SetNotifyWindow(HWND receiver) { receiver_ = receiver; }
  void SetColours(COLORREF back, COLORREF tab, COLORREF activeTab, COLORREF text);

  int Count() const { return static_cast<int>(tabs_.size()); }
  // The window tied to tab `index`, or nullptr.
  HWND TabWindow(int index) const;
  std::wstring TabText(int index) const;
  int TabImage(int index) const;
  // The active tab, or -1 when there are no tabs.
  int Active() const { return active_; }
  void SetActive(int index);
  void RemoveTab(int index);
  // Appends a tab, which becomes the active one; returns its index.
  int AddTab(HWND tied, const std::wstring& text, int image);
  void Redraw();

  // Places (client coordinates) of a tab and of a button; an empty rectangle
  // for a tab out of view or a button not shown.
  RECT TabRect(int index) const;
  RECT ButtonRect(Button button) const;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct Tab {
    HWND tied;
    std::wstring text;
    int image;
  };
  struct Hit {
    int tab = -1;
    int button = -1;
  };

  Hit HitAt(int x, int y) const;
  bool Overflows() const;
  void Paint(HDC dc, const RECT& client);
  void Send(UINT code, int tab);
  void AddTips();

  std::vector<Tab> tabs_;
  int active_ = -1;
  int firstShown_ = 0;
  int pressedButton_ = -1;
  unsigned options_ = 0;
  HWND receiver_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HIMAGELIST buttonImages_ = nullptr;
  HCURSOR buttonCursor_ = nullptr;
  HWND tips_ = nullptr;
  COLORREF back_ = RGB(230, 230, 230);
  COLORREF tab_ = RGB(214, 214, 214);
  COLORREF activeTab_ = RGB(255, 255, 255);
  COLORREF text_ = RGB(0, 0, 0);
};
