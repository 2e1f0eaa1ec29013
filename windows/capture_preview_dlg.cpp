#include "windows/capture_preview_dlg.h"

#include "core/command_ids.h"
#include "core/module_dir.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "resource.h"
#include "windows/actual_size_dlg.h"
#include "windows/paint_program.h"
#include "windows/preview_rules.h"
#include "windows/print_setting_dlg.h"

namespace pv = framlet::preview;
namespace ui = framlet::ui;

namespace {

constexpr COLORREF kLabelText = RGB(69, 69, 69);
constexpr char kEditFolder[] = "temp";
constexpr char kEditFile[] = "captureimg.bmp";

void Place(CSkinnedControl& control, const pv::Box& box) {
  control.Move(box.x, box.y, box.width, box.height);
}

bool IsAction(int code) {
  // A button's click, or 1 from an accelerator table.
  return code == BN_CLICKED || code == 1;
}

}  // namespace

CCapturePreviewDlg::CCapturePreviewDlg(CCapturedImage picture)
    : CDialogBase(IDD_CAPTURE_PREVIEW), handed_(std::move(picture)) {}

CCapturePreviewDlg::~CCapturePreviewDlg() = default;

BOOL CCapturePreviewDlg::OnInitDialog() {
  BuildSkin();
  std::vector<HACCEL> tables;
  for (UINT id : {IDR_ACCEL_PREVIEW_SAVE, IDR_ACCEL_PREVIEW_COPY, IDR_ACCEL_PREVIEW_EDIT, IDR_ACCEL_PREVIEW_PRINT}) {
    ui::Accelerator table(LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(id)));
    if (!table) continue;
    tables.push_back(table.Get());
    accelerators_.push_back(std::move(table));
  }
  keys_.Install(Hwnd(), true, std::move(tables));

  ReadPicture();
  sizeLabel_.SetText(pv::SizeLabelText(imageWidth, imageHeight));
  engine = std::make_unique<CCaptureEngine>(Hwnd());
  settings = framlet::ReadCaptureOptions();
  PlaceFirst();
  return TRUE;
}

void CCapturePreviewDlg::BuildSkin() {
  HWND hwnd = Hwnd();
  skin_.Load();
  copyNotice_.Attach(hwnd, IDC_PV_COPY_NOTICE, IDB_PREVIEW_COPY_NOTICE);
  copyNotice_.SetClickThrough(true);
  labelFont_.Reset(CreateFontW(12, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"굴림"));
  if (sizeLabel_.Attach(hwnd, IDC_PV_SIZE_LABEL)) {
    sizeLabel_.SetFont(labelFont_.Get());
    sizeLabel_.SetTextColour(kLabelText);
    sizeLabel_.SetTransparent();
    sizeLabel_.SetClickThrough(true);
  }
  logo_.Attach(hwnd, IDC_PV_LOGO, IDB_PREVIEW_LOGO, IDB_PREVIEW_LOGO, IDB_PREVIEW_LOGO);
  maximize_.Attach(hwnd, IDC_PV_MAXIMIZE, IDB_MAXIMISE, IDB_MAXIMISE, IDB_MAXIMISE_HOVER);
  restore_.Attach(hwnd, IDC_PV_RESTORE, IDB_RESTORE, IDB_RESTORE, IDB_RESTORE_HOVER);
  closeTop_.Attach(hwnd, IDC_PV_CLOSE_TOP, IDB_CLOSE, IDB_CLOSE, IDB_CLOSE_HOVER);
  save_.Attach(hwnd, IDC_PV_SAVE, IDB_PREVIEW_SAVE, IDB_PREVIEW_SAVE_PRESSED, IDB_PREVIEW_SAVE_HOVER);
  copy_.Attach(hwnd, IDC_PV_COPY, IDB_PREVIEW_COPY, IDB_PREVIEW_COPY_PRESSED, IDB_PREVIEW_COPY_HOVER);
  edit_.Attach(hwnd, IDC_PV_EDIT, IDB_PREVIEW_EDIT, IDB_PREVIEW_EDIT_PRESSED, IDB_PREVIEW_EDIT_HOVER);
  print_.Attach(hwnd, IDC_PV_PRINT, IDB_PREVIEW_PRINT, IDB_PREVIEW_PRINT_PRESSED, IDB_PREVIEW_PRINT_HOVER);
  close_.Attach(hwnd, IDC_PV_CLOSE, IDB_PREVIEW_CLOSE, IDB_PREVIEW_CLOSE_PRESSED, IDB_PREVIEW_CLOSE_HOVER);
  actualSize_.Attach(hwnd, IDC_PV_ACTUAL_SIZE, IDB_PREVIEW_ACTUAL_SIZE, IDB_PREVIEW_ACTUAL_SIZE,
                     IDB_PREVIEW_ACTUAL_SIZE);
  RECT client = {};
  GetClientRect(hwnd, &client);
  LayOut(client.right, client.bottom);
  copyNotice_.Show(false);
  restore_.Show(false);
}

namespace {

// A bottom-up 32-bit section holding a copy of `bitmap`; null on failure.
HBITMAP CopyToSection(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: its rows read the same on every platform
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::Bitmap section(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section || !bits) return nullptr;
  // A copy between memory surfaces: under Wine many times faster than
  // reading the bitmap's bits out.
  ui::WindowDC screen(nullptr);
  ui::MemoryDC from(screen);
  ui::MemoryDC to(screen);
  if (!from || !to) return nullptr;
  {
    ui::SelectGuard useFrom(from, bitmap);
    ui::SelectGuard useTo(to, section.Get());
    if (!BitBlt(to, 0, 0, width, height, from, 0, 0, SRCCOPY)) return nullptr;
  }
  GdiFlush();
  return section.Release();
}

}  // namespace

void CCapturePreviewDlg::ReadPicture() {
  // The capture handed over: the preview owns it outright, with no second
  // copy of a picture that may be hundreds of megabytes (making and filling
  // one took half a second for a 1920 x 20000 capture under Wine). The
  // clipboard is not read then: it may hold another picture.
  if (!handed_.Empty()) {
    CCapturedImage handed = std::move(handed_);
    if (!pv::PictureSizeAcceptable(handed.Width(), handed.Height())) return;
    image = std::move(handed);
    imageWidth = image.Width();
    imageHeight = image.Height();
    return;
  }
  const ui::ClipboardSession clipboard(Hwnd());
  if (!clipboard) return;
  HBITMAP shared = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (!shared) return;
  BITMAP info = {};
  if (!GetObjectW(shared, sizeof info, &info)) return;
  if (!pv::PictureSizeAcceptable(info.bmWidth, info.bmHeight < 0 ? -int64_t{info.bmHeight} : info.bmHeight)) return;
  // The preview's own copy: the clipboard's bitmap dies with the next owner.
  // A 32-bit section, so its pixels can be read in place for the fitted
  // picture; copied from the clipboard's bitmap surface to surface.
  HBITMAP copy = CopyToSection(shared, info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight);
  if (!copy) copy = static_cast<HBITMAP>(CopyImage(shared, IMAGE_BITMAP, 0, 0, 0));
  if (!copy) return;
  image.Attach(copy);
  imageWidth = image.Width();
  imageHeight = image.Height();
}

void CCapturePreviewDlg::PlaceFirst() {
  HWND hwnd = Hwnd();
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const pv::Box first = pv::FirstPlacement(imageWidth, imageHeight, screenWidth, screenHeight);
  SetWindowPos(hwnd, nullptr, first.x, first.y, first.width, first.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  RECT client = {};
  GetClientRect(hwnd, &client);
  const pv::Box opened = pv::EnforceMinimum(first, client.right, client.bottom, screenWidth, screenHeight);
  if (!(opened == first))
    SetWindowPos(hwnd, nullptr, opened.x, opened.y, opened.width, opened.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CCapturePreviewDlg::LayOut(int w, int h) {
  const pv::PreviewLayout l = pv::LayOutPreview(w, h);
  Place(maximize_, l.maximize);
  Place(restore_, l.maximize);
  Place(closeTop_, l.close);
  Place(logo_, l.logo);
  Place(save_, l.save);
  Place(copy_, l.copy);
  Place(edit_, l.edit);
  Place(print_, l.print);
  Place(copyNotice_, l.copyNotice);
  Place(sizeLabel_, l.sizeLabel);
  Place(close_, l.lowerClose);
  Place(actualSize_, l.actualSize);
}

void CCapturePreviewDlg::Compose(HDC dc, int w, int h) {
  skin_.DrawTitleStrip(dc, w);
  skin_.DrawLeftEdge(dc, h);
  skin_.fill.Stretch(dc, 4, pv::kTitleHeight, w - 8, h - pv::kTitleHeight);
  skin_.DrawTiles(dc, 10, 38, w - 150, h - 80);
  // A picture the engine was still holding is not needed once the preview shows.
  if (engine) engine->workingImage.Reset();
  DrawPicture(dc, w, h);
  skin_.DrawRightEdge(dc, w, h);
  skin_.DrawBottomStrip(dc, w, h);
}

void CCapturePreviewDlg::DrawPicture(HDC dc, int w, int h) {
  if (image.Empty()) return;
  const pv::Box to = pv::FitPicture(imageWidth, imageHeight, w, h);
  if (to.width <= 0 || to.height <= 0) return;
  ui::MemoryDC source(dc);
  if (!source) return;
  // A picture shown smaller than it is: its surplus rows and columns dropped,
  // with no smoothing, once per size and kept, so a repaint copies the shown
  // pixels only. Making it reads only the rows shown, so a step of a live
  // resize costs what it shows, not a pass over the whole picture.
  if (to.width <= imageWidth && to.height <= imageHeight && (to.width < imageWidth || to.height < imageHeight)) {
    if (fittedWidth_ != to.width || fittedHeight_ != to.height) {
      fitted_.Reset();
      fitted_ = DropBitmap(image.Bitmap(), to.width, to.height);
      fittedWidth_ = fitted_ ? to.width : 0;
      fittedHeight_ = fitted_ ? to.height : 0;
    }
    if (fitted_) {
      ui::SelectGuard useFitted(source, fitted_.Get());
      BitBlt(dc, to.x, to.y, to.width, to.height, source, 0, 0, SRCCOPY);
      return;
    }
  }
  ui::SelectGuard use(source, image.Bitmap());
  const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, to.x, to.y, to.width, to.height, source, 0, 0, imageWidth, imageHeight, SRCCOPY);
  SetStretchBltMode(dc, previousMode);
}

void CCapturePreviewDlg::CopyComposed(HDC dc) {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0) return;
  ui::MemoryDC memory(dc);
  if (!memory) return;
  // Composed off-screen once per size and copied in one piece: no flicker
  // while resizing, and the skinned controls' backgrounds come from it too.
  if (!composed_ || composedWidth_ != w || composedHeight_ != h) {
    composed_.Reset(CreateCompatibleBitmap(dc, w, h));
    composedWidth_ = composed_ ? w : 0;
    composedHeight_ = composed_ ? h : 0;
    if (!composed_) return;
    ui::SelectGuard use(memory, composed_.Get());
    Compose(memory, w, h);
  }
  ui::SelectGuard use(memory, composed_.Get());
  BitBlt(dc, 0, 0, w, h, memory, 0, 0, SRCCOPY);
}

void CCapturePreviewDlg::OnPaint() {
  ui::PaintDC dc(Hwnd());
  CopyComposed(dc);
}

void CCapturePreviewDlg::OnLeftDown(POINT client) {
  pv::BeginDrag(Hwnd(), pv::ZoneAt(Hwnd(), maximized, client), client);
}

void CCapturePreviewDlg::OnDoubleClick(POINT client) {
  if (client.y < pv::kTitleHeight) SetMaximized(!maximized);
}

void CCapturePreviewDlg::SetMaximized(bool on) {
  ShowWindow(Hwnd(), on ? SW_MAXIMIZE : SW_RESTORE);
  maximize_.Show(!on);
  restore_.Show(on);
  maximized = on;
}

void CCapturePreviewDlg::OnSave() {
  if (image.Empty() || !engine) return;
  std::string path;
  if (settings.autoSave) {
    path = engine->SaveWithLastPath(image, settings.jpegQuality);
    framlet::settings::WriteText(framlet::keys::kLastAutoPass, path);
  } else {
    path = engine->SaveViaDialog(image, settings.jpegQuality);
    framlet::settings::WriteText(framlet::keys::kLastAutoPass, std::string());
  }
  // Nothing written (the dialog cancelled): the preview stays open.
  if (!path.empty()) Close(Saved);
}

void CCapturePreviewDlg::OnCopy() {
  if (image.Empty()) return;
  // The clipboard may have changed since the capture put the picture there:
  // the notice shows only once the preview's copy is on it again.
  if (CCaptureEngine::PutOnClipboard(Hwnd(), image)) copyNotice_.Show(true);
}

void CCapturePreviewDlg::OnEdit() {
  if (image.Empty()) return;
  const std::string folder = framlet::GetModuleDir() + kEditFolder;
  CreateDirectoryA(folder.c_str(), nullptr);  // an existing folder is fine
  const std::string path = folder + "\\" + kEditFile;
  // A failed write would open the paint program on an older picture.
  if (CCaptureEngine::WriteBmpFile(image, path) != 1) return;
  Close(Edited);
  StartPaint(path);
}

void CCapturePreviewDlg::StartPaint(const std::string& path) {
  OpenInPaint(GetWindow(Hwnd(), GW_OWNER), path);
}

void CCapturePreviewDlg::OnPrint() {
  if (image.Empty()) return;
  OpenPrintSettings(image.Bitmap());
}

void CCapturePreviewDlg::OpenPrintSettings(HBITMAP picture) {
  CPrintSettingDlg dialog(PrintSource::ClipboardImage, picture, RECT{});
  dialog.DoModal(Hwnd());
}

void CCapturePreviewDlg::OnActualSize() {
  if (image.Empty()) return;
  OpenActualSize(image.Bitmap());
}

void CCapturePreviewDlg::OpenActualSize(HBITMAP picture) {
  CActualSizeDlg viewer(picture);
  viewer.DoModal(Hwnd());
}

void CCapturePreviewDlg::OnClose() {
  Close(ClosedByButton);
}

void CCapturePreviewDlg::OnCommand(int id, int code, HWND control) {
  switch (id) {
    case IDC_PV_SAVE:
    case IDR_ACCEL_PREVIEW_SAVE:
      if (IsAction(code)) OnSave();
      return;
    case IDC_PV_COPY:
    case IDR_ACCEL_PREVIEW_COPY:
      if (IsAction(code)) OnCopy();
      return;
    case IDC_PV_EDIT:
    case IDR_ACCEL_PREVIEW_EDIT:
      if (IsAction(code)) OnEdit();
      return;
    case IDC_PV_PRINT:
    case IDR_ACCEL_PREVIEW_PRINT:
      if (IsAction(code)) OnPrint();
      return;
    case IDC_PV_ACTUAL_SIZE:
      if (code == BN_CLICKED) OnActualSize();
      return;
    case IDC_PV_CLOSE:
    case IDC_PV_CLOSE_TOP:
      if (code == BN_CLICKED) OnClose();
      return;
    case IDC_PV_MAXIMIZE:
      if (code == BN_CLICKED) SetMaximized(true);
      return;
    case IDC_PV_RESTORE:
      if (code == BN_CLICKED) SetMaximized(false);
      return;
    case IDC_PV_LOGO:
    case IDOK:
    case IDCANCEL:
      // Enter and Escape close nothing; only the buttons end the preview.
      return;
  }
  CDialogBase::OnCommand(id, code, control);
}

void CCapturePreviewDlg::OnDestroy() {
  keys_.Remove();
  engine.reset();
}

INT_PTR CCapturePreviewDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      // The window's own erase is left to WM_PAINT; a skinned control asking
      // for what lies behind it gets the composed surface.
      if (WindowFromDC(dc) != Hwnd()) CopyComposed(dc);
      return Result(TRUE);
    }
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_SIZE:
      LayOut(LOWORD(lParam), HIWORD(lParam));
      InvalidateRect(Hwnd(), nullptr, FALSE);
      return TRUE;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {pv::kMinWidth, pv::kMinHeight};
      return Result(0);
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Hwnd() && LOWORD(lParam) == HTCLIENT &&
          pv::SetZoneCursor(Hwnd(), maximized))
        return Result(TRUE);
      break;
    case WM_MOUSEMOVE:
      pv::SetZoneCursor(Hwnd(), maximized);
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLeftDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return TRUE;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
