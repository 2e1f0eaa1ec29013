#include "web/guide_popup_dlg.h"

#include "core/command_ids.h"
#include "resource.h"
#include "ui/key_chain.h"
#include "web/page_rules.h"
#include "web/site_config.h"

namespace web = framlet::web;

CGuidePopupDlg::CGuidePopupDlg(IDispatch* external, IWebPageListener* listener)
    : CDialogBase(IDD_GUIDE_POPUP), external_(external), listener_(listener) {}

CGuidePopupDlg::~CGuidePopupDlg() {
  primary_.reset();
  second_.reset();
}

void CGuidePopupDlg::RunModal(HWND frame) {
  if (IsOpen()) return;
  frame_ = frame;
  running_ = true;
  if (!Create(frame)) {
    running_ = false;
    return;
  }
  HWND hwnd = Hwnd();
  if (primary_) {
    const bool frameEnabled = frame && IsWindowEnabled(frame);
    if (frameEnabled) EnableWindow(frame, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    MSG msg = {};
    while (running_ && IsWindow(hwnd)) {
      const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));  // the program's own loop ends too
        break;
      }
      if (framlet::ui::PreTranslateMessage(msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    // The owner first, so activation goes back to it when the popup goes.
    if (frameEnabled) EnableWindow(frame, TRUE);
  }
  running_ = false;
  primary_.reset();
  second_.reset();
  Close();
  frame_ = nullptr;
}

BOOL CGuidePopupDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  RECT created = {};
  GetWindowRect(hwnd, &created);
  RECT frame = {};
  if (frame_) GetWindowRect(frame_, &frame);
  const web::GuidePopupPlacement place =
      web::PlaceGuidePopup({frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}, created.bottom,
                           GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (place.moveFrame && frame_)
    SetWindowPos(frame_, nullptr, place.frameLeft, place.frameTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(hwnd, nullptr, place.popup.left, place.popup.top, place.popup.width, place.popup.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);

  const RECT area = {0, 0, web::kGuidePopupWidth, web::kGuidePopupHeight};
  primary_ = CWebPage::Create(hwnd, area, IDC_WEB_VIEW, external_, listener_);
  second_ = CWebPage::Create(hwnd, area, IDC_WEB_SECOND_VIEW, external_, listener_);
  if (primary_) {
    primary_->Show(true);
    primary_->Navigate(framlet::site::GuidePopupUrl());
  }
  LayOut();
  return TRUE;
}

void CGuidePopupDlg::LayOut() {
  if (primary_) primary_->Move(0, 0, web::kGuidePopupWidth, web::kGuidePopupHeight, true);
}

void CGuidePopupDlg::EndRun() {
  running_ = false;
  // Wakes the popup's loop, which then closes the window.
  if (Hwnd()) PostMessageW(Hwnd(), WM_NULL, 0, 0);
}

void CGuidePopupDlg::OnCommand(int id, int, HWND) {
  // Escape (and Enter with no page control taking it) end the popup as the close calls do.
  if (id == IDOK || id == IDCANCEL) EndRun();
}

INT_PTR CGuidePopupDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      return TRUE;
    case WM_CLOSE:
      EndRun();
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
