#include "windows/toolbar_panel.h"

#include "core/command_ids.h"
#include "resource.h"
#include "ui/popup_menu.h"

namespace tb = framlet::toolbar;

namespace {

constexpr COLORREF kPanelColour = RGB(234, 234, 234);
// Where the buttons sit when the panel opens, before its first layout.
constexpr int kRightGroupX[] = {666, 721, 776};

bool HasVisibleStyle(HWND control) {
  return control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

CToolbarPanel::CToolbarPanel(UINT templateId, Mode mode, IToolbarHost& host)
    : CDialogBase(templateId), host_(host), mode_(mode) {}

bool CToolbarPanel::Create() {
  return CDialogBase::Create(host_.FrameWindow());
}

void CToolbarPanel::Place(int x, int y, int width, int height) {
  SetWindowPos(Hwnd(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CToolbarPanel::OnInitDialog() {
  HWND hwnd = Hwnd();
  background_.Load(IDB_TOOLBAR_BACK);
  brush_.Reset(CreateSolidBrush(kPanelColour));
  const auto opening = tb::Layout(0);
  for (int i = 0; i < tb::kButtonCount; ++i) {
    const auto slot = static_cast<Slot>(i);
    const tb::Faces faces = tb::ButtonFaces(slot, mode_);
    if (!buttons_[i].Attach(hwnd, tb::SlotId(slot, mode_), faces.rest, faces.pressed, faces.hover)) continue;
    const int x = slot <= tb::kRecord ? opening[i].x : kRightGroupX[i - tb::kOpenFolder];
    buttons_[i].Move(x, 5, tb::kButtonSize, tb::kButtonSize);
  }
  const tb::Faces arrow = tb::ButtonFaces(tb::kArrow, mode_);
  if (arrow_.Attach(hwnd, IDC_TB_ARROW, arrow.rest, arrow.pressed, arrow.hover)) arrow_.Show(false);
  separator_.Attach(hwnd, IDC_TB_SEPARATOR, IDB_TOOLBAR_SEPARATOR);
  tip_.Create(host_.FrameWindow());
  keys_.Add(hwnd, framlet::ui::KeyStage::Accelerators, [this](MSG& msg) { return TranslateKey(msg); });
  RECT client = {};
  GetClientRect(hwnd, &client);
  Layout(client.right);
  return FALSE;
}

void CToolbarPanel::Layout(int width) {
  width_ = width;
  const auto places = tb::Layout(width);
  for (int i = 0; i < tb::kButtonCount; ++i) {
    if (!buttons_[i].Hwnd()) continue;
    buttons_[i].Move(places[i].x, places[i].y, tb::kButtonSize, tb::kButtonSize);
    buttons_[i].Show(places[i].visible);
  }
  const tb::Place& separator = places[tb::kSeparator];
  separator_.Move(separator.x, separator.y, tb::kSeparatorWidth, tb::kSeparatorHeight);
  separator_.Show(separator.visible);
  const tb::Place& arrow = places[tb::kArrow];
  arrow_.Move(arrow.x, arrow.y, tb::kArrowWidth, tb::kButtonSize);
  arrow_.Show(arrow.visible);
  AfterLayout();
}

void CToolbarPanel::OnButton(Slot slot) {
  tipsSuppressed_ = true;
  tip_.Hide();
  RunButton(slot);
  if (!KeepsTipsSuppressed(slot)) tipsSuppressed_ = false;
}

void CToolbarPanel::RunButton(Slot slot) {
  const tb::Command command = tb::ButtonCommand(slot, mode_);
  if (command != tb::Command::None) host_.RunToolbarCommand(command);
}

std::vector<tb::MenuItem> CToolbarPanel::MoreMenuItems() const {
  return tb::MoreMenu(width_, mode_);
}

void CToolbarPanel::RunMenuItem(int menuId) {
  const tb::Command command = tb::MenuCommand(menuId, mode_);
  if (command != tb::Command::None) host_.RunToolbarCommand(command);
}

void CToolbarPanel::OnMoreMenu() {
  std::vector<framlet::ui::PopupMenuItem> items;
  for (const tb::MenuItem& item : MoreMenuItems()) {
    items.push_back(item.rule ? framlet::ui::MenuRule(static_cast<unsigned>(item.id))
                              : framlet::ui::MenuCommand(static_cast<unsigned>(item.id),
                                                         static_cast<unsigned>(item.icon), item.text));
  }
  if (items.empty()) return;
  tip_.Hide();
  const UINT chosen = framlet::ui::TrackPopupItemsAtCursor(Hwnd(), items);
  if (chosen != 0) RunMenuItem(static_cast<int>(chosen));
}

bool CToolbarPanel::TrackPointer(POINT at) {
  RECT frame = {};
  GetWindowRect(host_.FrameWindow(), &frame);
  // Only shown buttons count: a hidden button keeps its last rectangle.
  for (int i = 0; i < tb::kButtonCount; ++i) {
    HWND button = buttons_[i].Hwnd();
    if (!HasVisibleStyle(button)) continue;
    RECT r = {};
    GetWindowRect(button, &r);
    if (!PtInRect(&r, at)) continue;
    const tb::Tip tip = tb::TipFor(static_cast<Slot>(i), mode_, frame.left, frame.top, frame.right);
    if (!tip.show) continue;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    tip_.SetTip(tip.index, tip.width, tb::kTipHeight);
    if (!tipsSuppressed_) tip_.ShowAt(tip.x, tip.y);
    return true;
  }
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  tip_.Hide();
  return false;
}

bool CToolbarPanel::TranslateKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || !IsOpen()) return false;
  if (message.hwnd != Hwnd() && !IsChild(Hwnd(), message.hwnd)) return false;
  const tb::KeyState state{host_.NormalMode(), host_.ContinuousRunning(), host_.ScrollRunning()};
  const unsigned modifiers = (GetKeyState(VK_CONTROL) < 0 ? tb::kCtrl : 0u) |
                             (GetKeyState(VK_SHIFT) < 0 ? tb::kShift : 0u) | (GetKeyState(VK_MENU) < 0 ? tb::kAlt : 0u);
  const tb::KeyAction action = tb::KeyFor(static_cast<int>(message.wParam), modifiers, mode_, state);
  if (!action.handled) return false;
  if (action.command != tb::Command::None) host_.RunToolbarCommand(action.command);
  return true;
}

void CToolbarPanel::RunKeyEscape() {
  const tb::KeyState state{host_.NormalMode(), host_.ContinuousRunning(), host_.ScrollRunning()};
  const tb::KeyAction action = tb::KeyFor(tb::kVkEscape, tb::kNoModifier, mode_, state);
  if (action.command != tb::Command::None) host_.RunToolbarCommand(action.command);
}

void CToolbarPanel::OnCommand(int id, int code, HWND /*control*/) {
  // The dialog manager turns Enter and Escape into IDOK and IDCANCEL; a panel never closes.
  if (id == IDOK) return;
  if (id == IDCANCEL) {
    RunKeyEscape();
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == IDC_TB_ARROW) {
    OnMoreMenu();
    return;
  }
  for (int i = 0; i < tb::kButtonCount; ++i) {
    if (tb::SlotId(static_cast<Slot>(i), mode_) == id) {
      OnButton(static_cast<Slot>(i));
      return;
    }
  }
}

BOOL CToolbarPanel::PaintBackground(HDC dc) {
  RECT client = {};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, brush_);
  if (background_) background_.Stretch(dc, 0, 0, client.right, tb::kPanelHeight);
  return TRUE;
}

INT_PTR CToolbarPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout(LOWORD(lParam));
      return TRUE;
    case WM_ERASEBKGND:
      return Result(PaintBackground(reinterpret_cast<HDC>(wParam)));
    case WM_PRINTCLIENT:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      return Result(0);
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
      // Colour requests are answered with the brush itself, not through the message result.
      return reinterpret_cast<INT_PTR>(PanelBrush());
    case WM_SETCURSOR: {
      POINT at = {};
      GetCursorPos(&at);
      TrackPointer(at);
      return Result(TRUE);
    }
    case WM_LBUTTONDOWN:
      tip_.Hide();
      return TRUE;
    case WM_DESTROY:
      keys_.Remove();
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(wParam) == WM_LBUTTONDOWN) tip_.Hide();
      return TRUE;
  }
  return CDialogBase::HandleMessage(message, wParam, lParam);
}

HBRUSH CToolbarPanel::PanelBrush() {
  return brush_.Get();
}
