#include "app/frame_chrome.h"

#include <iterator>

#include "app/frame_geometry.h"
#include "core/command_ids.h"
#include "resource.h"
#include "web/site_config.h"

namespace frame = framlet::frame;
using framlet::ui::SelectGuard;

namespace {

constexpr COLORREF kLabelColour = RGB(202, 202, 202);
constexpr COLORREF kAddressColour = RGB(255, 255, 255);

// Each picture button of the frame: its faces at rest, pressed (also while a
// check box is checked) and with the pointer over it, and whether it shows
// the hand cursor (the two buttons with tips get the hand from the frame).
struct ButtonSkin {
  int id;
  UINT rest, pressed, hover;
  CSkinButton::Kind kind;
  bool handCursor;
};

constexpr CSkinButton::Kind kPush = CSkinButton::Kind::Push;
constexpr ButtonSkin kButtonSkins[] = {
    {IDC_OPTIONS_MENU, IDB_OPTIONS_BUTTON, IDB_OPTIONS_BUTTON, IDB_OPTIONS_BUTTON_HOVER, kPush, true},
    {IDC_HELP_PAGE, IDB_HELP_BUTTON, IDB_HELP_BUTTON, IDB_HELP_BUTTON_HOVER, kPush, true},
    {IDC_ALWAYS_TOP, IDB_TOPMOST_OFF, IDB_TOPMOST_ON, IDB_TOPMOST_OFF, CSkinButton::Kind::Check, false},
    {IDC_MINIMIZE, IDB_MINIMISE, IDB_MINIMISE, IDB_MINIMISE_HOVER, kPush, true},
    {IDC_MAXIMIZE, IDB_MAXIMISE, IDB_MAXIMISE, IDB_MAXIMISE_HOVER, kPush, true},
    {IDC_RESTORE, IDB_RESTORE, IDB_RESTORE, IDB_RESTORE_HOVER, kPush, true},
    {IDC_CLOSE_TO_TRAY, IDB_CLOSE, IDB_CLOSE, IDB_CLOSE_HOVER, kPush, true},
    {IDC_HOME_PAGE, IDB_HOME, IDB_HOME_PRESSED, IDB_HOME_HOVER, kPush, true},
    {IDC_BACK, IDB_BACK, IDB_BACK_PRESSED, IDB_BACK_HOVER, kPush, true},
    {IDC_FORWARD, IDB_FORWARD, IDB_FORWARD_PRESSED, IDB_FORWARD_HOVER, kPush, true},
    {IDC_GO, IDB_GO, IDB_GO_PRESSED, IDB_GO_HOVER, kPush, true},
    {IDC_TO_NORMAL_MODE, IDB_TO_NORMAL_MODE, IDB_TO_NORMAL_MODE_PRESSED, IDB_TO_NORMAL_MODE_HOVER, kPush, true},
    {IDC_TO_WEB_MODE, IDB_TO_WEB_MODE, IDB_TO_WEB_MODE_PRESSED, IDB_TO_WEB_MODE_HOVER, kPush, true},
    {IDC_STOP_SCROLL, IDB_STOP_CAPTURE, IDB_STOP_CAPTURE, IDB_STOP_CAPTURE, kPush, true},
    {IDC_STOP_CONTINUOUS, IDB_STOP_CAPTURE, IDB_STOP_CAPTURE, IDB_STOP_CAPTURE, kPush, true},
    {IDC_AREA_DIALOG, IDB_AREA_BUTTON, IDB_AREA_BUTTON, IDB_AREA_BUTTON, kPush, false},
};

}  // namespace

void CFrameChrome::Attach(HWND frameWindow) {
  static_assert(std::size(kButtonSkins) == kButtonCount, "one skinned button for each face entry");
  frame_ = frameWindow;
  topLeft_.Load(IDB_FRAME_TOP_LEFT);
  top_.Load(IDB_FRAME_TOP);
  topRight_.Load(IDB_FRAME_TOP_RIGHT);
  edgeLeft_.Load(IDB_EDGE_LEFT);
  holeKey_.Load(IDB_HOLE_KEY);
  holeLight_.Load(IDB_FILL_LIGHT);
  edgeRight_.Load(IDB_EDGE_RIGHT);
  bottomLeft_.Load(IDB_FRAME_BOTTOM_LEFT);
  bottom_.Load(IDB_FRAME_BOTTOM);
  bottomRight_.Load(IDB_FRAME_BOTTOM_RIGHT);

  labelFont_.Reset(CreateFontW(11, 0, 0, 0, 550, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"굴림"));
  addressFont_.Reset(CreateFontW(12, 0, 0, 0, 550, FALSE, FALSE, FALSE, HANGEUL_CHARSET, OUT_STROKE_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH | FF_SWISS, L"굴림"));

  // The frame moves and maximises from anywhere on its surface, the logo included.
  logo_.Attach(frameWindow, IDC_LOGO, IDB_FRAME_LOGO);
  logo_.SetClickThrough(true);
  for (size_t i = 0; i < kButtonCount; ++i) {
    const ButtonSkin& skin = kButtonSkins[i];
    buttons_[i].Attach(frameWindow, skin.id, skin.rest, skin.pressed, skin.hover, skin.kind);
    buttons_[i].SetHandCursor(skin.handCursor);
  }

  coordLabel_.Attach(frameWindow, IDC_COORD_LABEL);
  coordLabel_.SetTextColour(kLabelColour);
  coordLabel_.SetFont(labelFont_);
  coordLabel_.SetTransparent();
}

void CFrameChrome::Detach() {
  coordLabel_.SetFont(nullptr);
  coordLabel_.Detach();
  labelFont_.Reset();
  for (CSkinButton& button : buttons_) button.Detach();
  logo_.Detach();
  frame_ = nullptr;
}

CSkinButton* CFrameChrome::Button(int id) {
  for (size_t i = 0; i < kButtonCount; ++i)
    if (kButtonSkins[i].id == id) return &buttons_[i];
  return nullptr;
}

const CSkinButton* CFrameChrome::Button(int id) const {
  for (size_t i = 0; i < kButtonCount; ++i)
    if (kButtonSkins[i].id == id) return &buttons_[i];
  return nullptr;
}

void CFrameChrome::LayOut(int w, int h, bool normalMode) {
  if (!frame_) return;
  for (const frame::ControlPlace& control : frame::ControlPlaces(w, h, normalMode)) {
    if (HWND item = GetDlgItem(frame_, control.id))
      SetWindowPos(item, nullptr, control.place.x, control.place.y, control.place.width, control.place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  ApplyWidthRules(w);
}

void CFrameChrome::ApplyWidthRules(int w) {
  if (!frame_) return;
  ShowWindow(GetDlgItem(frame_, IDC_OPTIONS_MENU), frame::OptionsButtonShown(w) ? SW_SHOW : SW_HIDE);
  ShowWindow(GetDlgItem(frame_, IDC_HELP_PAGE), frame::HelpButtonShown(w) ? SW_SHOW : SW_HIDE);
  HWND areaButton = GetDlgItem(frame_, IDC_AREA_DIALOG);
  RECT area = {};
  GetWindowRect(areaButton, &area);
  MapWindowPoints(nullptr, frame_, reinterpret_cast<POINT*>(&area), 2);
  const int x = frame::AreaButtonX(w);
  if (area.left != x) SetWindowPos(areaButton, nullptr, x, area.top, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CFrameChrome::DrawBackground(HDC dc, int w, int h, bool holeSeeThrough) const {
  topLeft_.Draw(dc, 0, 0);
  top_.Stretch(dc, 35, 0, w - 35, 121);
  topRight_.Draw(dc, w - 35, 0);
  edgeLeft_.Stretch(dc, 0, 121, 4, h - 23);
  const framlet::ui::Picture& hole = holeSeeThrough ? holeKey_ : holeLight_;
  hole.Stretch(dc, 4, 121, w - 8, h - 121);
  edgeRight_.Stretch(dc, w - 4, 121, 4, h - 121);
  bottomLeft_.Draw(dc, 0, h - 23);
  bottom_.Stretch(dc, 25, h - 23, w - 25, 23);
  bottomRight_.Draw(dc, w - 25, h - 23);
  if (frame::WebAddressShown(w)) {
    SelectGuard font(dc, addressFont_);
    SetTextColor(dc, kAddressColour);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 120, 8, framlet::site::kSiteAddressText, lstrlenW(framlet::site::kSiteAddressText));
  }
}

void CFrameChrome::ShowMaximized(bool maximized) {
  if (!frame_) return;
  ShowWindow(GetDlgItem(frame_, IDC_MAXIMIZE), maximized ? SW_HIDE : SW_SHOW);
  ShowWindow(GetDlgItem(frame_, IDC_RESTORE), maximized ? SW_SHOW : SW_HIDE);
}

void CFrameChrome::RedrawControls(bool maximized) {
  if (!frame_) return;
  for (int id : {maximized ? IDC_RESTORE : IDC_MAXIMIZE, IDC_ALWAYS_TOP, IDC_OPTIONS_MENU, IDC_HELP_PAGE,
                 IDC_CLOSE_TO_TRAY, IDC_MINIMIZE, IDC_COORD_LABEL, IDC_STOP_SCROLL, IDC_STOP_CONTINUOUS,
                 IDC_AREA_DIALOG, IDC_GO, IDC_TO_NORMAL_MODE, IDC_TO_WEB_MODE})
    InvalidateRect(GetDlgItem(frame_, id), nullptr, TRUE);
}

void CFrameChrome::SetCoordText(const std::wstring& text) {
  if (coordLabel_.Hwnd()) coordLabel_.SetText(text);
}

void CFrameChrome::HideCoordLabel() {
  coordLabel_.Show(false);
}

bool CFrameChrome::AlwaysTopChecked() const {
  const CSkinButton* box = Button(IDC_ALWAYS_TOP);
  return box && box->Checked();
}

void CFrameChrome::SetAlwaysTopChecked(bool checked) {
  if (CSkinButton* box = Button(IDC_ALWAYS_TOP)) box->SetChecked(checked);
}
