#pragma once
#include <windows.h>

#include <memory>

#include "ui/window_base.h"
#include "web/web_page.h"

// The guide popup (dialog 338): a borderless window over the capture frame's
// page area showing the site's guide page. Its page closes it by calling
// FL_Popclose or FL_Popckclose, which send it WM_CLOSE. It holds its own
// primary view (121212) and a second view (121213) that stays hidden.
class CGuidePopupDlg final : public CDialogBase {
 public:
  // Pages of its views reach `external`; their events go to `listener`.
  CGuidePopupDlg(IDispatch* external, IWebPageListener* listener);
  ~CGuidePopupDlg() override;

  // Shows the popup over `frame` and returns when it has closed. The frame is
  // disabled meanwhile; keys for the page go through the views' pre-translation.
  // Returns at once when the guide page cannot be shown (no browser view),
  // since only the page can close the popup.
  void RunModal(HWND frame);

  // The popup window while it is open, else nullptr.
  HWND Window() const { return IsOpen() ? Hwnd() : nullptr; }
  CWebPage* PrimaryView() const { return primary_.get(); }
  CWebPage* SecondView() const { return second_.get(); }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;

 private:
  void LayOut();
  void EndRun();

  IDispatch* external_;
  IWebPageListener* listener_;
  HWND frame_ = nullptr;
  bool running_ = false;
  std::unique_ptr<CWebPage> primary_;
  std::unique_ptr<CWebPage> second_;
};
