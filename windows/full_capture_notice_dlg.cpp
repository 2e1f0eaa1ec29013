#include "windows/full_capture_notice_dlg.h"

#include "core/command_ids.h"
#include "resource.h"
#include "ui/gdi.h"
#include "windows/dialog_text.h"
#include "windows/option_rules.h"

namespace opt = framlet::options;
using framlet::ui::kColourKey;

CFullCaptureNoticeDlg::CFullCaptureNoticeDlg(INoticeHost& host) : CDialogBase(IDD_FULL_CAPTURE_NOTICE), host_(host) {}

INT_PTR CFullCaptureNoticeDlg::DoModal(HWND frame) {
  frameRestored_ = false;
  const INT_PTR result = CDialogBase::DoModal(frame);
  // Wine does not make a window topmost while it owns a pop-up (it lifts only
  // the pop-up), so the restored frame is made topmost again once the notice is gone.
  if (frameRestored_)
    SetWindowPos(host_.FrameWindow(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return result;
}

BOOL CFullCaptureNoticeDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  // Magenta parts of the bar are see-through; no overall translucency.
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(hwnd, kColourKey, 0, LWA_COLORKEY);

  background_.Load(IDB_NOTICE_BAR);
  RECT frame = {};
  GetWindowRect(host_.FrameWindow(), &frame);
  const opt::Place p = opt::NoticePlace(frame.left, frame.top);
  SetWindowPos(hwnd, nullptr, p.x, p.y, p.width, p.height, SWP_NOZORDER | SWP_NOACTIVATE);

  if (label_.Attach(hwnd, IDC_NOTICE_LABEL)) {
    label_.SetFont(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
    label_.SetTextColour(RGB(255, 255, 255));
    label_.SetText(framlet::dialogs::kNoticeText);
    label_.Move(opt::kNoticeLabel.x, opt::kNoticeLabel.y, opt::kNoticeLabel.width, opt::kNoticeLabel.height);
  }
  capture_.Attach(hwnd, IDC_NOTICE_CAPTURE, IDB_NOTICE_CAPTURE, IDB_NOTICE_CAPTURE, IDB_NOTICE_CAPTURE);
  capture_.Move(opt::kNoticeCaptureButton.x, opt::kNoticeCaptureButton.y, opt::kNoticeCaptureButton.width,
                opt::kNoticeCaptureButton.height);
  close_.Attach(hwnd, IDC_NOTICE_CLOSE, IDB_NOTICE_CLOSE, IDB_NOTICE_CLOSE, IDB_NOTICE_CLOSE);
  close_.Move(opt::kNoticeCloseButton.x, opt::kNoticeCloseButton.y, opt::kNoticeCloseButton.width,
              opt::kNoticeCloseButton.height);
  return TRUE;
}

void CFullCaptureNoticeDlg::OnPaint() {
  framlet::ui::PaintDC dc(Hwnd());
  if (!background_) return;
  // Through an off-screen surface, in one piece.
  framlet::ui::MemoryDC memory(dc);
  framlet::ui::SelectGuard use(memory, background_.Handle());
  BitBlt(dc, 0, 0, background_.Width(), background_.Height(), memory, 0, 0, SRCCOPY);
}

void CFullCaptureNoticeDlg::OnCapture() {
  HWND frame = host_.FrameWindow();
  ShowWindow(frame, SW_HIDE);
  ShowWindow(Hwnd(), SW_HIDE);
  host_.CaptureArea();
  ShowWindow(frame, SW_SHOW);
  ShowWindow(Hwnd(), SW_SHOW);
}

void CFullCaptureNoticeDlg::OnClose() {
  const opt::Place p = opt::FrameRestorePlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(host_.FrameWindow(), HWND_TOPMOST, p.x, p.y, p.width, p.height, SWP_NOACTIVATE);
  host_.ApplyModeLayering();
  host_.HideAreaOutline();
  host_.ClearMaximized();
  frameRestored_ = true;
  Close(IDOK);
}

void CFullCaptureNoticeDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_NOTICE_CAPTURE:
      if (code == BN_CLICKED) OnCapture();
      return;
    case IDC_NOTICE_CLOSE:
      if (code == BN_CLICKED) OnClose();
      return;
    case IDCANCEL:
      // Escape or Alt+F4 must not leave the frame translucent over the whole
      // screen: they close the notice the way its close button does.
      OnClose();
      return;
    case IDOK:
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

INT_PTR CFullCaptureNoticeDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      // The skinned controls draw their see-through parts from this.
      if (background_) background_.Draw(reinterpret_cast<HDC>(wParam), 0, 0);
      return Result(TRUE);
    case WM_PAINT:
      OnPaint();
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
