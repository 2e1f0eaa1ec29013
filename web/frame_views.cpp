#include "web/frame_views.h"

#include <wininet.h>

#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "web/page_rules.h"

namespace web = framlet::web;

namespace {

bool PlatformConnected(unsigned long* flags) {
  DWORD state = 0;
  const bool ok = InternetGetConnectedState(&state, 0) != FALSE;
  *flags = state;
  return ok;
}

}  // namespace

CFrameViews::CFrameViews(IFrameViewsHost& host, IDispatch* external)
    : host_(host), external_(external), popup_(external, this), connectedQuery_(PlatformConnected) {}

CFrameViews::~CFrameViews() {
  second_.reset();
  primary_.reset();
}

bool CFrameViews::Create(HWND frame, const RECT& rect) {
  frame_ = frame;
  primary_ = CWebPage::Create(frame, rect, IDC_WEB_VIEW, external_, this);
  second_ = CWebPage::Create(frame, rect, IDC_WEB_SECOND_VIEW, external_, this);
  if (primary_) primary_->Show(true);
  return primary_ != nullptr;
}

void CFrameViews::Navigate(const std::string& url) {
  if (primary_) primary_->Navigate(url);
}

void CFrameViews::Navigate(const std::wstring& url) {
  if (primary_) primary_->Navigate(url);
}

void CFrameViews::GoBack() {
  if (primary_) primary_->GoBack();
}

void CFrameViews::GoForward() {
  if (primary_) primary_->GoForward();
}

void CFrameViews::Refresh() {
  if (primary_) primary_->Refresh();
}

void CFrameViews::Show(bool visible) {
  if (primary_) primary_->Show(visible);
}

void CFrameViews::Move(int x, int y, int width, int height, bool repaint) {
  if (primary_) primary_->Move(x, y, width, height, repaint);
}

void CFrameViews::OnNavigateComplete(CWebPage&, const std::wstring& lowerUrl) {
  if (web::ShownInAddressBox(lowerUrl)) host_.SetAddressText(lowerUrl);
}

void CFrameViews::OnBeforeNavigate(CWebPage& view, const std::wstring& url, bool& cancel) {
  if (&view != second_.get()) return;
  // A page that the primary view opened as a new window: load it there instead.
  cancel = true;
  if (primary_) primary_->Navigate(url);
}

void CFrameViews::OnTitleChange(CWebPage&, const std::wstring& title) {
  host_.AddTitle(title);
}

void CFrameViews::OnNewWindow(CWebPage& view, IDispatch** newWindow) {
  // Only the frame's primary view routes new windows; others keep the browser's own.
  if (&view != primary_.get() || !second_ || *newWindow) return;
  *newWindow = second_->Application();
}

void CFrameViews::OnDocumentComplete(CWebPage&, const std::wstring& lowerUrl) {
  web::GuidePopupCheck check;
  check.popupAllowed = framlet::settings::ReadFlag(framlet::keys::kPopCloseState);
  check.lowerUrl = lowerUrl;
  check.signedIn = host_.SignedIn();
  check.popupClosed = host_.PopupClosed();
  check.popupOpen = popupOpen_;
  check.connectedQueryOk = connectedQuery_ && connectedQuery_(&check.connectedFlags);
  if (!web::GuidePopupDue(check)) return;
  popupOpen_ = true;
  popup_.RunModal(frame_);
  popupOpen_ = false;
}
