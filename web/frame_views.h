#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "web/guide_popup_dlg.h"
#include "web/web_page.h"

// What the capture frame's browser views need from the frame.
class IFrameViewsHost {
 public:
  // A completed navigation's address for the address box.
  virtual void SetAddressText(const std::wstring& text) = 0;
  // A page's new title for the tab strip.
  virtual void AddTitle(const std::wstring& title) = 0;
  virtual bool SignedIn() const = 0;
  // The guide popup was closed by its page earlier in this run.
  virtual bool PopupClosed() const = 0;

 protected:
  ~IFrameViewsHost() = default;
};

// The capture frame's browser views and what their pages do to the frame:
//  - the primary view shows pages; the hidden second view only catches pages
//    that the primary view opens as new windows and hands them back, so every
//    page opened from the frame ends up in the primary view;
//  - each completed navigation (any view, the guide popup's included) puts its
//    address into the address box, except the sign-in check and guide pages;
//  - each title change goes to the tab strip;
//  - when the start page has loaded, the guide popup may be due (page_rules.h).
// Every operation is harmless when the views could not be made.
class CFrameViews final : public IWebPageListener {
 public:
  // Pages reach `external` (the page-callable object).
  CFrameViews(IFrameViewsHost& host, IDispatch* external);
  ~CFrameViews();
  CFrameViews(const CFrameViews&) = delete;
  CFrameViews& operator=(const CFrameViews&) = delete;

  // Creates both views in `frame` at `rect`: the primary view shown, the second
  // hidden. False when the primary view could not be made (no browser); the
  // frame then carries on without pages.
  bool Create(HWND frame, const RECT& rect);

  CWebPage* Primary() const { return primary_.get(); }
  CWebPage* Second() const { return second_.get(); }

  // The primary view's operations; nothing happens without a primary view.
  void Navigate(const std::string& url);
  void Navigate(const std::wstring& url);
  void GoBack();
  void GoForward();
  void Refresh();
  void Show(bool visible);
  void Move(int x, int y, int width, int height, bool repaint);

  // The guide popup window while it is open, else nullptr (for the page calls).
  HWND GuidePopupWindow() const { return popup_.Window(); }
  CGuidePopupDlg& GuidePopup() { return popup_; }

  // The platform's connected-state query; tests replace it.
  using ConnectedQuery = bool (*)(unsigned long* flags);
  void SetConnectedQuery(ConnectedQuery query) { connectedQuery_ = query; }

  // IWebPageListener
  void OnNavigateComplete(CWebPage& view, const std::wstring& lowerUrl) override;
  void OnBeforeNavigate(CWebPage& view, const std::wstring& url, bool& cancel) override;
  void OnTitleChange(CWebPage& view, const std::wstring& title) override;
  void OnNewWindow(CWebPage& view, IDispatch** newWindow) override;
  void OnDocumentComplete(CWebPage& view, const std::wstring& lowerUrl) override;

 private:
  IFrameViewsHost& host_;
  IDispatch* external_;
  HWND frame_ = nullptr;
  std::unique_ptr<CWebPage> primary_;
  std::unique_ptr<CWebPage> second_;
  CGuidePopupDlg popup_;
  bool popupOpen_ = false;
  ConnectedQuery connectedQuery_;
};
