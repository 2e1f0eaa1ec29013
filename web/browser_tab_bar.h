#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "ui/gdi.h"
#include "ui/tab_strip.h"
#include "ui/window_base.h"
#include "web/address_rules.h"

// What the browser tab bar asks of the capture frame.
class IBrowserTabHost {
 public:
  virtual bool SignedIn() const = 0;
  // The sign-in prompt and, on OK, the sign-in page.
  virtual void RequireSignIn() = 0;
  // Leaves web capture for normal capture (hides the bar and the view).
  virtual void EnterNormalMode() = 0;

 protected:
  ~IBrowserTabHost() = default;
};

// The strip beside the address box that shows the page's title (dialog 158,
// a child of the capture frame). Every title change replaces the active tab,
// so the strip normally holds one tab with the latest title. Its close button
// leaves web capture, behind the sign-in gate.
class CBrowserTabBar : public CDialogBase {
 public:
  // Window class of the bar (named in its dialog template).
  static constexpr wchar_t kClassName[] = L"FramletTabBar";
  static constexpr int kAnchorId = 1030;
  static constexpr int kStripId = 3001;
  static constexpr int kFirstPlaceholderId = 3000;
  static constexpr COLORREF kBackColour = RGB(230, 230, 230);

  explicit CBrowserTabBar(IBrowserTabHost& host);
  ~CBrowserTabBar() override;

  // Makes the bar, hidden or shown as the frame says, at `place` (frame client coordinates).
  bool Create(HWND frame);
  void Place(int x, int y, int width, int height);

  // A page's title becomes the strip's active tab (cut to its longest shown length).
  void AddTitle(const std::wstring& title);

  CTabStrip& Strip() { return strip_; }
  const CTabStrip& Strip() const { return strip_; }
  HIMAGELIST TabImages() const { return tabImages_; }

 protected:
  BOOL OnInitDialog() override;
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void OnCloseClicked();
  // The placeholder window tied to no tab, or nullptr when all are tied.
  HWND FreePlaceholder() const;

  IBrowserTabHost& host_;
  CTabStrip strip_;
  HWND placeholders_[framlet::address::kTabSlots] = {};
  HIMAGELIST tabImages_ = nullptr;
  HIMAGELIST buttonImages_ = nullptr;
  // The page icon's place in the tab list, added once.
  int pageImage_ = -1;
  framlet::ui::Brush backBrush_;
};
