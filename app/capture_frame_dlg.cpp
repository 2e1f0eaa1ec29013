#include "app/capture_frame_dlg.h"

#include <imm.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/capture_app.h"
#include "app/notify_menu.h"
#include "app/notify_menu_rules.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "capture/capture_engine.h"
#include "resource.h"
#include "ui/compositor.h"
#include "web/address_rules.h"
#include "web/site_config.h"
#include "web/web_page.h"
#include "windows/area_outline_dlg.h"
#include "windows/capture_toolbar_dlg.h"
#include "windows/continuous_option_dlg.h"
#include "windows/dialog_text.h"
#include "windows/option_dlg.h"
#include "windows/web_toolbar_dlg.h"

namespace frame = framlet::frame;
namespace keys = framlet::keys;
namespace settings = framlet::settings;
using framlet::ui::MemoryDC;
using framlet::ui::PaintDC;
using framlet::ui::SelectGuard;

namespace {

constexpr wchar_t kFrameTitle[] = L"Framlet5";
constexpr wchar_t kTrayTooltip[] = L"Framlet";

int ToHitTest(frame::Zone zone) {
  switch (zone) {
    case frame::Zone::Client:
      return HTCLIENT;
    case frame::Zone::Caption:
      return HTCAPTION;
    case frame::Zone::Left:
      return HTLEFT;
    case frame::Zone::Right:
      return HTRIGHT;
    case frame::Zone::Top:
      return HTTOP;
    case frame::Zone::Bottom:
      return HTBOTTOM;
    case frame::Zone::TopLeft:
      return HTTOPLEFT;
    case frame::Zone::TopRight:
      return HTTOPRIGHT;
    case frame::Zone::BottomLeft:
      return HTBOTTOMLEFT;
    case frame::Zone::BottomRight:
      return HTBOTTOMRIGHT;
  }
  return HTCLIENT;
}

// The cursor for a zone; nullptr keeps the current one.
LPCWSTR ZoneCursor(frame::Zone zone) {
  switch (zone) {
    case frame::Zone::Left:
    case frame::Zone::Right:
      return IDC_SIZEWE;
    case frame::Zone::Top:
    case frame::Zone::Bottom:
      return IDC_SIZENS;
    case frame::Zone::TopLeft:
    case frame::Zone::BottomRight:
      return IDC_SIZENWSE;
    case frame::Zone::TopRight:
    case frame::Zone::BottomLeft:
      return IDC_SIZENESW;
    default:
      return nullptr;
  }
}

frame::Rect ToRect(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void PlaceWindow(HWND window, HWND after, const frame::Place& p, UINT flags) {
  SetWindowPos(window, after, p.x, p.y, p.width, p.height, flags);
}

}  // namespace

CCaptureFrameDlg::CCaptureFrameDlg(CExternalDispatch* external) : CDialogBase(IDD_CAPTURE_FRAME), external_(external) {}

CCaptureFrameDlg::~CCaptureFrameDlg() {
  // Here rather than in the base's destructor, so that OnDestroy still runs.
  if (IsOpen()) DestroyWindow(Hwnd());
}

// ---- the message loop ----

INT_PTR CCaptureFrameDlg::RunModal() {
  if (!Create(nullptr)) return -1;
  HWND frameWindow = Hwnd();
  MSG msg = {};
  while (IsWindow(frameWindow)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;  // WM_QUIT ends the program
    if (framlet::ui::PreTranslateMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (IsWindow(frameWindow)) DestroyWindow(frameWindow);
  return msg.message == WM_QUIT ? static_cast<INT_PTR>(msg.wParam) : IDOK;
}

bool CCaptureFrameDlg::OnTableKey(MSG& msg) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
  // While a scroll capture steps, Escape (its stop) is the only key: any
  // other command, or a key reaching the page, would capture or move what the
  // step is reading.
  if (ScrollRunning()) return msg.wParam != VK_ESCAPE;
  for (HACCEL table : accelerators_)
    if (TranslateAcceleratorW(Hwnd(), table, &msg)) return true;
  return false;
}

bool CCaptureFrameDlg::OnWindowKey(MSG& msg) {
  if (msg.message == WM_LBUTTONDOWN) return OnAddressClick(msg);
  if (msg.message != WM_KEYDOWN) return false;
  switch (msg.wParam) {
    case VK_ESCAPE:
      commands_.OnEscape();
      return true;
    case VK_RETURN:
      return OnEnterKey(msg);
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      // Shift+arrows are the size tables; a plain arrow moves the frame
      // first and still reaches the focused control.
      if (GetKeyState(VK_SHIFT) >= 0) NudgeFromStoredRect(static_cast<UINT>(msg.wParam), false);
      break;
  }
  return false;
}

void CCaptureFrameDlg::LoadKeyTables() {
  accelerators_.clear();
  for (const framlet::commands::Accelerator& table : framlet::commands::Accelerators())
    if (HACCEL loaded = ::LoadAcceleratorsW(Instance(), MAKEINTRESOURCEW(table.resourceId)))
      accelerators_.push_back(loaded);
}

void CCaptureFrameDlg::NudgeFrame(framlet::commands::Operation nudge) {
  using framlet::commands::Operation;
  const UINT key = nudge == Operation::NudgeLeft    ? VK_LEFT
                   : nudge == Operation::NudgeRight ? VK_RIGHT
                   : nudge == Operation::NudgeUp    ? VK_UP
                                                    : VK_DOWN;
  NudgeFromStoredRect(key, true);
}

void CCaptureFrameDlg::NudgeFromStoredRect(UINT key, bool shift) {
  const settings::FrameRect s = settings::ReadFrameRect();
  const frame::Place stored = {s.left, s.top, s.width, s.height};
  frame::Nudge nudge = frame::Nudge::Left;
  switch (key) {
    case VK_LEFT:
      nudge = frame::Nudge::Left;
      break;
    case VK_RIGHT:
      nudge = frame::Nudge::Right;
      break;
    case VK_UP:
      nudge = frame::Nudge::Up;
      break;
    default:
      nudge = frame::Nudge::Down;
      break;
  }
  PlaceWindow(Hwnd(), nullptr, frame::NudgedPlace(stored, nudge, shift), SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- start-up ----

BOOL CCaptureFrameDlg::OnInitDialog() {
  HWND hwnd = Hwnd();
  HINSTANCE instance = Instance();
  // Pages call into the frame from now until its window goes.
  if (external_) external_->SetHost(this);

  // 1. Icons, window boxes, default size at the screen centre, title.
  bigIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.Reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
  SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
  // Wine gives the pop-up dialog a caption and frame of its own; the frame draws its own chrome.
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME);
  SetWindowLongPtrW(hwnd, GWL_STYLE, style | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  SetWindowLongPtrW(
      hwnd, GWL_EXSTYLE,
      GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
  {
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int x = work.left + (work.right - work.left - frame::kDefaultWidth) / 2;
    const int y = work.top + (work.bottom - work.top - frame::kDefaultHeight) / 2;
    SetWindowPos(hwnd, nullptr, x, y, frame::kDefaultWidth, frame::kDefaultHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  SetWindowTextW(hwnd, kFrameTitle);

  // 2. The notification-area icon. Without one (no shell) the frame carries on.
  if (trayIcon_.Create(hwnd, kTrayMessage, kTrayTooltip, nullptr, kTrayIconId)) trayIcon_.SetIcon(IDI_APP);

  // 3. The documents folder for captures.
  docFolder = settings::DefaultSaveFolder();
  if (!docFolder.empty()) CreateDirectoryA(docFolder.c_str(), nullptr);

  // 4. The browser views in the hole (the primary shown, the second hidden) and
  //    the start page; then the controls are laid out. Without a browser on the
  //    machine the frame carries on without pages.
  {
    const RECT client = ClientRect();
    const frame::Place hole = frame::BrowserPlace(client.right, client.bottom);
    views_.Create(hwnd, {hole.x, hole.y, hole.x + hole.width, hole.y + hole.height});
    views_.Navigate(framlet::site::StartPageUrl());
    controlsReady_ = true;
    LayOut(client.right, client.bottom);
  }

  // 5. Layered windows.
  layeredSetter_ = reinterpret_cast<LayeredSetter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "SetLayeredWindowAttributes")));
  layered = false;

  // 6. The area outline (hidden) and the two toolbar panels (web capture's
  //    shown, normal capture's hidden) and the browser tab strip
  //    (w/2, 90, w/2-120 x 29), shown in web capture.
  areaOutline_ = std::make_unique<CAreaOutlineDlg>();
  areaOutline_->Create(hwnd);
  captureToolbar_ = std::make_unique<CCaptureToolbarDlg>(static_cast<IToolbarHost&>(*this));
  webToolbar_ = std::make_unique<CWebToolbarDlg>(static_cast<IToolbarHost&>(*this));
  captureToolbar_->Create();
  webToolbar_->Create();
  tabBar_ = std::make_unique<CBrowserTabBar>(static_cast<IBrowserTabHost&>(*this));
  if (!tabBar_->Create(hwnd)) tabBar_.reset();
  {
    const RECT client = ClientRect();
    LayOut(client.right, client.bottom);
  }
  ShowWindow(webToolbar_->Hwnd(), normalMode ? SW_HIDE : SW_SHOW);
  ShowWindow(captureToolbar_->Hwnd(), normalMode ? SW_SHOW : SW_HIDE);
  if (tabBar_) ShowWindow(tabBar_->Hwnd(), normalMode ? SW_HIDE : SW_SHOW);
  ShowWindow(Item(IDC_TO_NORMAL_MODE), SW_SHOW);
  ShowWindow(Item(IDC_TO_WEB_MODE), SW_HIDE);

  // 7-10. Position and always-on-top from the settings.
  const bool alwaysTop = settings::ReadFlag(keys::kAlwaysTop);
  const bool rememberPosition = settings::ReadFlag(keys::kRememberPosition);
  if (!rememberPosition) {
    const frame::Place centred = frame::CentredPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    PlaceWindow(hwnd, nullptr, centred, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    const settings::FrameRect stored = settings::ReadFrameRect();
    const frame::Size size = frame::RaiseRestoredSize(stored.width, stored.height);
    SetWindowPos(hwnd, alwaysTop ? HWND_TOPMOST : HWND_NOTOPMOST, stored.left, stored.top, size.width, size.height,
                 SWP_NOACTIVATE);
    // The skin takes over the box with this state.
    CheckDlgButton(hwnd, IDC_ALWAYS_TOP, alwaysTop ? BST_CHECKED : BST_UNCHECKED);
  }
  if (alwaysTop) SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  // 11. The capture options and their dialogs, the capture engine, the skin, the tip window.
  options_ = framlet::ReadCaptureOptions();
  optionDlg_ = std::make_unique<COptionDlg>(options_, static_cast<IOptionHost&>(*this));
  continuousOptionDlg_ = std::make_unique<CContinuousOptionDlg>(options_);
  engine_ = std::make_unique<CCaptureEngine>(hwnd);
  {
    CommandSeams& seams = commands_.Seams();
    IFrameCommandHost& host = *this;
    for (auto make : {MakeContinuousPart, MakeRecorderPart, MakePreviewPart, MakePrintingPart, MakeAreaDialogPart,
                      MakeRegionPart, MakeWebCapturePart, MakeScrollPart})
      if (std::unique_ptr<CFramePart> part = make(host, seams)) parts_.push_back(std::move(part));
  }
  // (The region part made its selection window above, hidden.) The skin, the
  // key tables and the key chain's two stages of the frame.
  ApplySkin();
  LoadKeyTables();
  tableKeys_.Add(hwnd, framlet::ui::KeyStage::Accelerators, [this](MSG& msg) { return OnTableKey(msg); });
  windowKeys_.Add(hwnd, framlet::ui::KeyStage::WindowKeys, [this](MSG& msg) { return OnWindowKey(msg); });
  hoverTip_.Create(hwnd);
  SavePosition();
  return TRUE;
}

void CCaptureFrameDlg::ApplySkin() {
  chrome_.Attach(Hwnd());
  const RECT client = ClientRect();
  LayOut(client.right, client.bottom);
}

void CCaptureFrameDlg::OnDestroy() {
  // A page call that comes later (a closing view's script) reaches no frame.
  if (external_) external_->SetHost(nullptr);
  tableKeys_.Remove();
  windowKeys_.Remove();
  trayIcon_.Remove();
  hoverTip_.Close();
  // Freed in this order: the label's font (with the chrome), the engine, the option dialogs, the area outline.
  captureToolbar_.reset();
  webToolbar_.reset();
  tabBar_.reset();
  chrome_.Detach();
  // The seams go back to the stand-ins before the parts behind them are freed.
  commands_.ResetSeams();
  parts_.clear();
  engine_.reset();
  optionDlg_.reset();
  continuousOptionDlg_.reset();
  areaOutline_.reset();
}

// ---- layout ----

void CCaptureFrameDlg::LayOut(int w, int h) {
  if (!controlsReady_) return;
  const frame::Place hole = frame::BrowserPlace(w, h);
  views_.Move(hole.x, hole.y, hole.width, hole.height, false);
  chrome_.LayOut(w, h, normalMode);
  UpdateCoordLabel();
  const frame::Place toolbar = frame::ToolbarPlace(w);
  if (captureToolbar_) captureToolbar_->Place(toolbar.x, toolbar.y, toolbar.width, toolbar.height);
  if (webToolbar_) webToolbar_->Place(toolbar.x, toolbar.y, toolbar.width, toolbar.height);
  if (tabBar_) {
    const frame::Place tabs = frame::TabStripPlace(w);
    tabBar_->Place(tabs.x, tabs.y, tabs.width, tabs.height);
  }
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CCaptureFrameDlg::UpdateCoordLabel() {
  const RECT window = WindowRect();
  const RECT client = ClientRect();
  const std::string text = frame::CoordLabelText(window.left, window.top, client.right, client.bottom);
  chrome_.SetCoordText(std::wstring(text.begin(), text.end()));
}

void CCaptureFrameDlg::SetNormalMode(bool on) {
  normalMode = on;
  InvalidateRect(Hwnd(), nullptr, TRUE);
  ShowWindow(Item(IDC_TO_WEB_MODE), on ? SW_SHOW : SW_HIDE);
  ShowWindow(Item(IDC_TO_NORMAL_MODE), on ? SW_HIDE : SW_SHOW);
  if (captureToolbar_) ShowWindow(captureToolbar_->Hwnd(), on ? SW_SHOW : SW_HIDE);
  if (webToolbar_) ShowWindow(webToolbar_->Hwnd(), on ? SW_HIDE : SW_SHOW);
  if (tabBar_) ShowWindow(tabBar_->Hwnd(), on ? SW_HIDE : SW_SHOW);
  views_.Show(!on);
  const RECT client = ClientRect();
  LayOut(client.right, client.bottom);
  ApplyModeLayering();
}

void CCaptureFrameDlg::ApplyModeLayering() {
  // Normal capture: the hole becomes see-through (the key colour); web capture: an ordinary window.
  SetLayered(framlet::ui::Layering::Opaque);
  if (normalMode) SetLayered(framlet::ui::Layering::ColourKey);
}

void CCaptureFrameDlg::LeaveMaximized() {
  // Also from hidden or minimised: what follows moves the frame or puts the
  // outline and notice around it, which must not happen to a frame nobody sees.
  ShowWindow(Hwnd(), SW_SHOWNORMAL);
  maximized = false;
  chrome_.ShowMaximized(false);
}

void CCaptureFrameDlg::ShowAreaOutline() {
  if (areaOutline_) areaOutline_->Show();
}

void CCaptureFrameDlg::HideAreaOutline() {
  if (areaOutline_) areaOutline_->Hide();
}

// ---- painting ----

BOOL CCaptureFrameDlg::OnEraseBackground(HDC dc) {
  const RECT client = ClientRect();
  // Only the part the DC shows is composed (a child's background asks for its own rectangle).
  RECT box = {};
  if (GetClipBox(dc, &box) == ERROR || IsRectEmpty(&box)) box = client;
  IntersectRect(&box, &box, &client);
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (width <= 0 || height <= 0) return TRUE;

  MemoryDC memory(dc);
  framlet::ui::Bitmap canvas(CreateCompatibleBitmap(dc, width, height));
  if (!memory || !canvas) return TRUE;
  SelectGuard select(memory, canvas);
  SetViewportOrgEx(memory, -box.left, -box.top, nullptr);
  chrome_.DrawBackground(memory, client.right, client.bottom, normalMode && layered);
  SetViewportOrgEx(memory, 0, 0, nullptr);
  BitBlt(dc, box.left, box.top, width, height, memory, 0, 0, SRCCOPY);
  return TRUE;
}

void CCaptureFrameDlg::OnPaint() {
  HWND hwnd = Hwnd();
  if (IsIconic(hwnd)) {
    PaintDC dc(hwnd);
    const RECT client = ClientRect();
    const int cx = GetSystemMetrics(SM_CXICON);
    const int cy = GetSystemMetrics(SM_CYICON);
    DrawIcon(dc, (client.right - cx + 1) / 2, (client.bottom - cy + 1) / 2, bigIcon_);
    return;
  }
  if (repaintingUnderButton_) {
    PaintDC dc(hwnd);
    return;
  }
  hiddenToTray = false;

  chrome_.ShowMaximized(maximized);
  chrome_.RedrawControls(maximized);
  // The normal-mode toolbar, the tab strip and the current mode's toolbar are invalidated here.

  const RECT client = ClientRect();
  if (frame::CoordLabelShown(client.right))
    UpdateCoordLabel();
  else
    chrome_.HideCoordLabel();
  SavePosition(client, WindowRect());
  chrome_.ApplyWidthRules(client.right);

  PaintDC dc(hwnd);
}

void CCaptureFrameDlg::SavePosition(const RECT& client, const RECT& window) {
  settings::WriteFrameRect({window.left, window.top, client.right, client.bottom});
}

void CCaptureFrameDlg::SavePosition() {
  SavePosition(ClientRect(), WindowRect());
}

RECT CCaptureFrameDlg::CaptureRect() const {
  const settings::FrameRect s = settings::ReadFrameRect();
  const frame::Rect r = frame::CaptureRect(s.left, s.top, s.width, s.height);
  return {r.left, r.top, r.right, r.bottom};
}

// ---- size and move ----

void CCaptureFrameDlg::OnSize(int w, int h) {
  if (!controlsReady_ || IsIconic(Hwnd())) return;
  LayOut(w, h);
}

void CCaptureFrameDlg::OnMove() {
  if (controlsReady_ && !IsIconic(Hwnd())) UpdateCoordLabel();
}

void CCaptureFrameDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  info->ptMinTrackSize.x = frame::kMinTrackWidth;
  info->ptMinTrackSize.y = frame::kMinTrackHeight;
}

// ---- mouse ----

RECT CCaptureFrameDlg::ClientRect() const {
  RECT r = {};
  GetClientRect(Hwnd(), &r);
  return r;
}

RECT CCaptureFrameDlg::WindowRect() const {
  RECT r = {};
  GetWindowRect(Hwnd(), &r);
  return r;
}

frame::Zone CCaptureFrameDlg::ZoneAt(int x, int y) const {
  return frame::HitZone(x, y, ToRect(ClientRect()), maximized);
}

void CCaptureFrameDlg::OnLButtonDown(int x, int y) {
  const int hitTest = ToHitTest(ZoneAt(x, y));
  if (hitTest == HTCLIENT) return;
  // The system runs the move or resize from here, as if the border had been pressed.
  POINT screen = {x, y};
  ClientToScreen(Hwnd(), &screen);
  PostMessageW(Hwnd(), WM_NCLBUTTONDOWN, hitTest, MAKELPARAM(screen.x, screen.y));
}

void CCaptureFrameDlg::OnLButtonDblClk(int, int y) {
  if (y >= frame::kDoubleClickBand) return;
  if (maximized)
    Restore();
  else
    Maximize();
}

void CCaptureFrameDlg::OnMouseMove(int x, int y) {
  if (LPCWSTR cursor = ZoneCursor(ZoneAt(x, y))) SetCursor(LoadCursorW(nullptr, cursor));
  if (y < frame::kHoverBand) HideToolbarTips(false);
}

INT_PTR CCaptureFrameDlg::OnSetCursor(HWND over, UINT hitTest) {
  if (over == Item(IDC_AREA_DIALOG) || over == Item(IDC_ALWAYS_TOP)) {
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    const frame::Rect window = ToRect(WindowRect());
    const frame::TipPlace tip =
        over == Item(IDC_AREA_DIALOG) ? frame::AreaButtonTip(window) : frame::AlwaysTopTip(window);
    hoverTip_.SetTip(tip.pictureIndex, tip.place.width, tip.place.height);
    hoverTip_.ShowAt(tip.place.x, tip.place.y);
    return Result(TRUE);
  }
  HideTips();
  if (over != Hwnd()) {
    // A child keeps its own cursor. Said explicitly because Wine's default
    // handling sets the child's class cursor from the parent (newer Wine also
    // reports the message handled), which would flash or replace the hand of
    // a button that asks the frame first.
    return Result(FALSE);
  }
  if (hitTest == HTCLIENT) {
    // The resize cursors of the frame's own surface, without flicker through the arrow.
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(Hwnd(), &point);
    if (LPCWSTR cursor = ZoneCursor(ZoneAt(point.x, point.y))) {
      SetCursor(LoadCursorW(nullptr, cursor));
      return Result(TRUE);
    }
  }
  return FALSE;
}

void CCaptureFrameDlg::HideTips() {
  hoverTip_.Hide();
  HideToolbarTips(true);
}

void CCaptureFrameDlg::HideToolbarTips(bool bothPanels) {
  if (webToolbar_) webToolbar_->HideTip();
  if (bothPanels && captureToolbar_) captureToolbar_->HideTip();
}

// ---- window operations ----

void CCaptureFrameDlg::Maximize() {
  HWND hwnd = Hwnd();
  const RECT window = WindowRect();
  const RECT client = ClientRect();
  restoreRect = {window.left, window.top, client.right, client.bottom};

  // The taskbar: a missing or hidden one leaves the whole primary screen.
  frame::Rect taskbar;
  frame::Edge edge = frame::Edge::Bottom;
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  if (tray && IsWindowVisible(tray)) {
    RECT r = {};
    GetWindowRect(tray, &r);
    taskbar = ToRect(r);
    APPBARDATA bar = {};
    bar.cbSize = sizeof bar;
    bar.hWnd = tray;
    if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
      switch (bar.uEdge) {
        case ABE_LEFT:
          edge = frame::Edge::Left;
          break;
        case ABE_TOP:
          edge = frame::Edge::Top;
          break;
        case ABE_RIGHT:
          edge = frame::Edge::Right;
          break;
        default:
          edge = frame::Edge::Bottom;
          break;
      }
    }
  }
  const frame::Place place =
      frame::MaximizedPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), taskbar, edge,
                            GetSystemMetrics(SM_CMONITORS), window.left, client.right);
  PlaceWindow(hwnd, nullptr, place, SWP_NOZORDER | SWP_NOACTIVATE);
  chrome_.ShowMaximized(true);
  maximized = true;
}

void CCaptureFrameDlg::Restore() {
  PlaceWindow(Hwnd(), nullptr, restoreRect, SWP_NOZORDER | SWP_NOACTIVATE);
  chrome_.ShowMaximized(false);
  maximized = false;
}

void CCaptureFrameDlg::OnMinimize() {
  SavePosition();
  SendMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  hiddenToTray = true;
}

void CCaptureFrameDlg::OnCloseToTray() {
  HWND hwnd = Hwnd();
  if (!trayIcon_.Exists()) {
    // Without a notification icon a hidden frame could not be brought back: minimise instead.
    OnMinimize();
    return;
  }
  const RECT from = WindowRect();
  ShowWindow(hwnd, SW_HIDE);
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT to = {work.right - 70, work.bottom - 10, work.right, work.bottom};
  DrawAnimatedRects(hwnd, IDANI_CAPTION, &from, &to);
  hiddenToTray = true;
}

void CCaptureFrameDlg::ShowRestored() {
  HWND hwnd = Hwnd();
  SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
  // A frame hidden by its close button is not minimised; the restore command alone leaves it hidden.
  if (!IsWindowVisible(hwnd)) ShowWindow(hwnd, SW_SHOWNORMAL);
  hiddenToTray = false;
}

void CCaptureFrameDlg::OpenOptions() {
  if (optionDlg_) optionDlg_->DoModal();
}

void CCaptureFrameDlg::ClearScrollTipsSuppressed() {
  if (captureToolbar_) captureToolbar_->SetTipsSuppressed(false);
}

bool CCaptureFrameDlg::AskContinuousOptions() {
  return continuousOptionDlg_ && continuousOptionDlg_->DoModal(Hwnd()) == IDOK;
}

settings::FrameRect CCaptureFrameDlg::FramePlacement() const {
  const RECT window = WindowRect();
  const RECT client = ClientRect();
  return {window.left, window.top, client.right, client.bottom};
}

void CCaptureFrameDlg::SaveFramePosition() {
  // A minimised frame has no place of its own to record; it writes its
  // rectangle when it is shown again.
  if (!IsIconic(Hwnd())) SavePosition();
}

bool CCaptureFrameDlg::SetLayered(framlet::ui::Layering layering, COLORREF key) {
  HWND hwnd = Hwnd();
  layeredSetter_ = reinterpret_cast<LayeredSetter>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("USER32.DLL"), "SetLayeredWindowAttributes")));
  if (!layeredSetter_ || !hwnd) return false;
  const LONG_PTR exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  using framlet::ui::Layering;
  switch (layering) {
    case Layering::ColourKey:
      SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
      layeredSetter_(hwnd, key, 128, LWA_COLORKEY);
      layered = true;
      break;
    case Layering::Translucent:
      SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
      layeredSetter_(hwnd, 0, 110, LWA_ALPHA);
      layered = true;
      break;
    case Layering::Opaque:
      SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
      layeredSetter_(hwnd, 0, 255, LWA_ALPHA);
      layered = false;
      break;
  }
  return true;
}

void CCaptureFrameDlg::ShowStopButton(StopButton which, bool shown) {
  HWND button = GetDlgItem(Hwnd(), which == StopButton::Scroll ? IDC_STOP_SCROLL : IDC_STOP_CONTINUOUS);
  if (!button) return;
  if (shown) {
    const RECT client = ClientRect();
    const framlet::frame::Place p = framlet::frame::StopButtonPlace(client.right, client.bottom);
    SetWindowPos(button, HWND_TOP, p.x, p.y, p.width, p.height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return;
  }
  if (!IsWindowVisible(button)) return;
  RECT where = {};
  GetWindowRect(button, &where);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&where), 2);
  ShowWindow(button, SW_HIDE);
  // Only where the button was, painted now and composed onto the screen
  // before the grab that follows reads it: the frame's background there (the
  // hole) erased and the windows under it (the page) painted. The paint
  // itself must run, as its end is what hands a colour-keyed frame's new
  // pixels to the screen, but it does nothing more: the full paint handler
  // has every control redrawn and stores the frame's place, which cost a
  // scroll capture step over 100 ms.
  repaintingUnderButton_ = true;
  RedrawWindow(Hwnd(), &where, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  repaintingUnderButton_ = false;
  framlet::ui::WaitForCompositor();
}

bool CCaptureFrameDlg::StopButtonShown(StopButton which) const {
  return IsWindowVisible(GetDlgItem(Hwnd(), which == StopButton::Scroll ? IDC_STOP_SCROLL : IDC_STOP_CONTINUOUS)) !=
         FALSE;
}

void CCaptureFrameDlg::ApplyAlwaysTop(bool on) {
  const RECT window = WindowRect();
  const RECT client = ClientRect();
  SetWindowPos(Hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, window.left, window.top, client.right, client.bottom,
               SWP_NOACTIVATE);
}

void CCaptureFrameDlg::SetAlwaysTop(bool on) {
  ApplyAlwaysTop(on);
  chrome_.SetAlwaysTopChecked(on);
}

void CCaptureFrameDlg::OnAlwaysTopClicked() {
  const bool on = chrome_.AlwaysTopChecked();
  settings::WriteFlag(keys::kAlwaysTop, on);
  ApplyAlwaysTop(on);
}

void CCaptureFrameDlg::CentreFrame() {
  HWND hwnd = Hwnd();
  if (IsIconic(hwnd) || maximized) {
    ShowWindow(hwnd, SW_RESTORE);
    maximized = false;
    chrome_.ShowMaximized(false);
  }
  const frame::Place centred = frame::CentredPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  PlaceWindow(hwnd, HWND_TOPMOST, centred, 0);
  // Centred on the work area, as the system centres a window without an owner.
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(hwnd, nullptr, work.left + (work.right - work.left - centred.width) / 2,
               work.top + (work.bottom - work.top - centred.height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

// ---- pages and the address box ----

void CCaptureFrameDlg::SetAddressText(const std::wstring& text) {
  SetDlgItemTextW(Hwnd(), IDC_ADDRESS, text.c_str());
}

void CCaptureFrameDlg::AddTitle(const std::wstring& title) {
  if (tabBar_) tabBar_->AddTitle(title);
}

void CCaptureFrameDlg::RefreshTabStrip() {
  // Hidden and shown again, so that it is drawn anew over the page.
  if (!tabBar_ || normalMode) return;
  ShowWindow(tabBar_->Hwnd(), SW_HIDE);
  ShowWindow(tabBar_->Hwnd(), SW_SHOW);
  tabBar_->Strip().Redraw();
}

bool CCaptureFrameDlg::OnEnterKey(const MSG& msg) {
  // With no window of the program focused the key goes nowhere.
  if (!GetFocus()) return true;
  // A page's Enter is the page's (its view made it a character for the page's
  // form); the typed address goes with Enter anywhere else in the frame.
  const bool forPage = CWebPage::FromWindow(msg.hwnd) != nullptr;
  const std::string typed = AddressText();
  if (!forPage && framlet::address::EnterNavigates(typed, framlet::site::StartPageUrl())) views_.Navigate(typed);
  // Web capture, also from web capture: the switch puts the page's layering back.
  PressWebModeButton();
  return true;
}

bool CCaptureFrameDlg::OnAddressClick(const MSG& msg) {
  HWND box = Item(IDC_ADDRESS);
  if (!box || msg.hwnd != box || GetFocus() == box) return false;
  // The first click takes the whole address, ready to be typed over.
  SetFocus(box);
  SendMessageW(box, EM_SETSEL, 0, -1);
  return true;
}

void CCaptureFrameDlg::OnAddressChanged() {
  HWND box = Item(IDC_ADDRESS);
  if (!box) return;
  const int length = GetWindowTextLengthW(box);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), length + 1)));
  const framlet::address::CorrectedText fix = framlet::address::CorrectTypedAddress(text);
  if (fix.what == framlet::address::Correction::None) return;
  // Setting the text raises this notification again; the new text is left alone then.
  SetWindowTextW(box, fix.text.c_str());
  SendMessageW(box, EM_SETSEL, 0, -1);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  const WPARAM end = fix.text.size();
  SendMessageW(box, EM_SETSEL, end, static_cast<LPARAM>(end));
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
  if (fix.what != framlet::address::Correction::ReplaceByWww) return;
  // The rest of the address comes out in Latin letters.
  if (HIMC context = ImmGetContext(box)) {
    DWORD conversion = 0;
    DWORD sentence = 0;
    if (ImmGetConversionStatus(context, &conversion, &sentence))
      ImmSetConversionStatus(context, framlet::address::LatinConversionMode(conversion), sentence);
    ImmReleaseContext(box, context);
  }
}

std::string CCaptureFrameDlg::AddressText() const {
  return framlet::dialogs::ItemTextA(Hwnd(), IDC_ADDRESS);
}

void CCaptureFrameDlg::ShowWebMode() {
  if (normalMode) PressWebModeButton();
}

void CCaptureFrameDlg::PressWebModeButton() {
  SendMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(IDC_TO_WEB_MODE, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(IDC_TO_WEB_MODE)));
}

void CCaptureFrameDlg::OnHomePage() {
  const std::string home = framlet::site::HomeUrl();
  SetAddressText(std::wstring(home.begin(), home.end()));
  views_.Navigate(home);
  ShowWebMode();
}

void CCaptureFrameDlg::OnHelpPage() {
  views_.Navigate(framlet::site::HelpUrl());
  ShowWebMode();
}

void CCaptureFrameDlg::OnExit() {
  if (CCaptureApp* app = TheApp()) app->Exit(AddressText());
}

// ---- notification icon ----

void CCaptureFrameDlg::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  const UINT mouse = LOWORD(lParam);
  HWND hwnd = Hwnd();
  // While one of the frame's modal windows is open (the frame is disabled
  // under it), a click on the icon brings that window forward and starts
  // nothing else.
  if (!IsWindowEnabled(hwnd)) {
    if (mouse == WM_RBUTTONUP || mouse == WM_LBUTTONUP || mouse == WM_LBUTTONDBLCLK) {
      HWND modal = GetLastActivePopup(hwnd);
      if (modal && modal != hwnd) SetForegroundWindow(modal);
    }
    trayIcon_.OnTrayNotification(wParam, lParam);
    return;
  }
  if ((mouse == WM_LBUTTONUP || mouse == WM_LBUTTONDBLCLK) && hiddenToTray) {
    hiddenToTray = false;
    ShowRestored();
  }
  if (mouse == WM_RBUTTONUP && !ScrollRunning()) OnTrayMenu();
  if (IsWindow(hwnd)) SetFocus(hwnd);
  trayIcon_.OnTrayNotification(wParam, lParam);
}

void CCaptureFrameDlg::OnTrayMenu() {
  const UINT chosen = framlet::app::TrackNotifyMenu(Hwnd(), hiddenToTray, normalMode);
  // The item arrives as a command behind this notification, once the frame
  // has the focus, so a window the command opens keeps the activation.
  if (chosen != 0) PostMessageW(Hwnd(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

void CCaptureFrameDlg::OnOptionsMenu() {
  RunOptionsMenuItem(framlet::app::TrackOptionsMenu(Hwnd()));
}

void CCaptureFrameDlg::RunOptionsMenuItem(UINT id) {
  if (id == ID_OPTMENU_5) {
    OpenOptions();
    return;
  }
  // The toggles change only the stored flag; its readers take it up later.
  // Always-on-top is applied at once, with its box.
  const keys::Setting* setting = framlet::app::OptionsMenuSetting(id);
  if (!setting) return;
  const bool on = settings::ToggleFlag(*setting);
  if (id == ID_OPTMENU_3) SetAlwaysTop(on);
}

bool CCaptureFrameDlg::ContinuousRunning() const {
  return commands_.Seams().continuousCapture->ContinuousRunning();
}

bool CCaptureFrameDlg::ScrollRunning() const {
  return commands_.Seams().scrollCapture->ScrollRunning();
}

// ---- messages ----

void CCaptureFrameDlg::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_MINIMIZE:
      OnMinimize();
      return;
    case IDC_CLOSE_TO_TRAY:
      OnCloseToTray();
      return;
    case IDC_MAXIMIZE:
      Maximize();
      return;
    case IDC_RESTORE:
      Restore();
      return;
    case IDC_ALWAYS_TOP:
      if (code == BN_CLICKED) OnAlwaysTopClicked();
      return;
    case IDC_HOME_PAGE:
      OnHomePage();
      return;
    case IDC_BACK:
      views_.GoBack();
      return;
    case IDC_FORWARD:
      views_.GoForward();
      return;
    case IDC_GO:
      // Reloads the page shown; a typed address is visited by Enter.
      views_.Refresh();
      ShowWebMode();
      return;
    case IDC_HELP_PAGE:
      OnHelpPage();
      return;
    case IDC_ADDRESS:
      if (code == EN_CHANGE) OnAddressChanged();
      return;
    case IDC_OPTIONS_MENU:
      if (code == BN_CLICKED) OnOptionsMenu();
      return;
    case IDOK:
    case IDCANCEL:
      // Enter and Escape do not end the program; the frame closes only through its commands.
      return;
  }
  // Clicks, keys (code 1) and menu items go to the command layer.
  if (code == BN_CLICKED || code == 1) commands_.Run(id);
}

INT_PTR CCaptureFrameDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return TRUE;
    case WM_ERASEBKGND:
      return Result(OnEraseBackground(reinterpret_cast<HDC>(wParam)));
    case WM_PRINTCLIENT:
      OnEraseBackground(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_SIZE:
      OnSize(LOWORD(lParam), HIWORD(lParam));
      return FALSE;
    case WM_MOVE:
      OnMove();
      return FALSE;
    case WM_GETMINMAXINFO:
      OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
      return TRUE;
    case WM_LBUTTONDOWN:
      OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_LBUTTONDBLCLK:
      OnLButtonDblClk(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return TRUE;
    case WM_SETCURSOR:
      return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam));
    case kTrayMessage:
      OnTrayNotification(wParam, lParam);
      return TRUE;
    case WM_TIMER:
      for (const std::unique_ptr<CFramePart>& part : parts_)
        if (part->OnTimer(wParam)) return TRUE;
      break;
    case WM_CLOSE:
      OnCloseToTray();
      return TRUE;
  }
  if (message == CTrayIcon::TaskbarCreatedMessage() && message != 0) {
    trayIcon_.OnTaskbarCreated();
    if (trayIcon_.Exists()) trayIcon_.SetIcon(IDI_APP);
    return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}
