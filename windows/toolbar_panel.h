#pragma once
#include <windows.h>

#include <array>
#include <vector>

#include "ui/gdi.h"
#include "ui/hover_tip_dlg.h"
#include "ui/key_chain.h"
#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/skin_picture.h"
#include "ui/window_base.h"
#include "windows/toolbar_rules.h"

// What a toolbar panel needs from the capture frame. The frame implements it,
// so the panels do not depend on the frame's class.
struct IToolbarHost {
  // The frame's window: the panel's parent and the origin of its tips.
  virtual HWND FrameWindow() const = 0;
  // Runs one of the frame's commands.
  virtual void RunToolbarCommand(framlet::toolbar::Command command) = 0;
  // The frame's capture mode and running series, for the panel's keys.
  virtual bool NormalMode() const = 0;
  virtual bool ContinuousRunning() const = 0;
  virtual bool ScrollRunning() const = 0;
  // Hides and shows the frame's browser tab strip again (before the web
  // panel's whole-page button runs its capture).
  virtual void RefreshTabStrip() {}

 protected:
  ~IToolbarHost() = default;
};

// The shared part of the two toolbar panels: a child dialog of the capture
// frame holding a row of picture buttons that follow the panel's width, an
// arrow button whose more menu lists the commands of the hidden buttons, and a
// picture tip for the button under the pointer. Every button, menu item and
// key only forwards a command to the host.
class CToolbarPanel : public CDialogBase {
 public:
  using Mode = framlet::toolbar::Mode;
  using Slot = framlet::toolbar::Slot;

  // Creates the panel hidden, as a child of the host's frame window.
  bool Create();
  // Places the panel in frame client coordinates; the buttons follow its width.
  void Place(int x, int y, int width, int height);

  Mode PanelMode() const { return mode_; }
  // Set while a button's command runs, and for a scroll capture until the
  // frame clears it when the capture ends or is refused.
  bool TipsSuppressed() const { return tipsSuppressed_; }
  void SetTipsSuppressed(bool on) { tipsSuppressed_ = on; }
  void HideTip() { tip_.Hide(); }
  const CHoverTipDlg& Tip() const { return tip_; }

  // The panel's place in the key chain, ahead of the frame's tables: handles a
  // key pressed in the panel or one of its controls; true when the message was used.
  bool TranslateKey(const MSG& message);

  // The more menu as it would open now.
  std::vector<framlet::toolbar::MenuItem> MoreMenuItems() const;
  // Runs a more-menu item's command (what choosing the item does).
  void RunMenuItem(int menuId);
  // Updates the cursor and the tip for the pointer at screen point `at`;
  // true when a button with a tip is under it.
  bool TrackPointer(POINT at);

 protected:
  CToolbarPanel(UINT templateId, Mode mode, IToolbarHost& host);

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;

  // The command of a button, before the tips are released again.
  virtual void RunButton(Slot slot);
  // Whether the tips stay suppressed after the button's command returned.
  virtual bool KeepsTipsSuppressed(Slot /*slot*/) const { return false; }
  // After the buttons moved.
  virtual void AfterLayout() {}

  IToolbarHost& host_;
  std::array<CSkinButton, framlet::toolbar::kButtonCount> buttons_;

 private:
  void Layout(int width);
  void OnButton(Slot slot);
  void OnMoreMenu();
  void RunKeyEscape();
  BOOL PaintBackground(HDC dc);
  HBRUSH PanelBrush();

  Mode mode_;
  bool tipsSuppressed_ = false;
  int width_ = 0;
  CSkinButton arrow_;
  CSkinPicture separator_;
  framlet::ui::Picture background_;
  framlet::ui::Brush brush_;
  CHoverTipDlg tip_;
  framlet::ui::KeyFilter keys_;
};
