#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/frame_chrome.h"
#include "app/frame_commands.h"
#include "app/frame_geometry.h"
#include "app/frame_parts.h"
#include "core/capture_options.h"
#include "core/settings.h"
#include "ui/gdi.h"
#include "ui/hover_tip_dlg.h"
#include "ui/key_chain.h"
#include "ui/picture.h"
#include "ui/tray_icon.h"
#include "ui/window_base.h"
#include "web/browser_tab_bar.h"
#include "web/external_dispatch.h"
#include "web/frame_views.h"
#include "windows/option_dlg.h"
#include "windows/toolbar_panel.h"

class CAreaOutlineDlg;
class CCaptureToolbarDlg;
class CWebToolbarDlg;
class CCaptureEngine;
class CContinuousOptionDlg;

// The capture frame: the program's main window (dialog 102, titled "Framlet5").
// A borderless skinned frame around a hole: a 121-pixel band on top, 4 pixels
// left and right, 23 at the bottom. The hole's screen rectangle is the capture
// area; the frame keeps it in AUTOPOS_HISTORY at every repaint.
//
// Other windows reach it through the operations below or through host
// interfaces of their own (the options dialog's IOptionHost, the browser
// views' IFrameViewsHost, the page calls' IPageCallHost); its state is read
// through accessors and changed only by its own operations.
class CCaptureFrameDlg : public CDialogBase,
                         private IOptionHost,
                         private IFrameViewsHost,
                         private IPageCallHost,
                         private IFrameCommandHost,
                         private IToolbarHost,
                         private IBrowserTabHost {
 public:
  // Callback message and identifier of the notification-area icon.
  static constexpr UINT kTrayMessage = WM_USER + 10;
  static constexpr UINT kTrayIconId = 148;

  // Pages shown in the frame reach `external` (nullptr: pages reach no object);
  // the frame answers its calls while its window exists.
  explicit CCaptureFrameDlg(CExternalDispatch* external = nullptr);
  ~CCaptureFrameDlg() override;

  // Creates the frame and runs its message loop until WM_QUIT arrives or the
  // frame is destroyed; the program ends when it returns.
  INT_PTR RunModal();
  HWND Handle() const { return Hwnd(); }

  // ---- operations other windows call ----
  void Maximize();
  void Restore();
  // Mode 0: colour key `key` (see-through and click-through); 1: alpha 110;
  // 2: an ordinary window again. False when the platform has no layered windows.
  bool SetLayered(framlet::ui::Layering layering, COLORREF key = framlet::ui::kColourKey) override;
  void ShowStopButton(StopButton which, bool shown) override;
  bool StopButtonShown(StopButton which) const override;
  // The capture rectangle (screen) from the stored frame rectangle.
  RECT CaptureRect() const override;
  // Writes LEFT, TOP (window) and WIDTH, HEIGHT (client) to AUTOPOS_HISTORY.
  void SavePosition(const RECT& client, const RECT& window);
  void SavePosition();
  // Shows the frame again after minimising or hiding.
  void ShowRestored() override;
  // Places the frame top-most at the screen centre in its default size.
  void CentreFrame() override;
  // Keeps the frame above other windows or not, at its current place and
  // size, and shows the state in the always-on-top check box.
  void SetAlwaysTop(bool on) override;
  // Shows the options dialog, unless it is open already.
  void OpenOptions() override;
  // Web capture (false) or normal capture (true): the flag, the switch
  // buttons, the browser view, the layout and the layering that follow it.
  void SetNormalMode(bool on) override;

  // ---- state other windows read ----
  bool NormalMode() const override { return normalMode; }
  bool SignedIn() const override { return signedIn; }
  bool PopupClosed() const override { return popupClosed; }
  bool Maximized() const override { return maximized; }
  bool HiddenToTray() const override { return hiddenToTray; }
  bool Layered() const override { return layered; }
  const framlet::frame::Place& RestoreRect() const override { return restoreRect; }
  // The capture settings kept in memory; the option dialogs edit them.
  const framlet::CaptureOptions& Options() const { return options_; }
  const CHoverTipDlg& HoverTip() const { return hoverTip_; }
  // The browser views in the hole and the guide popup.
  const CFrameViews& Views() const { return views_; }
  // The tab strip beside the address box (nullptr before start-up).
  CBrowserTabBar* TabBar() { return tabBar_.get(); }
  // The address box's text in the system code page.
  std::string AddressText() const override;
  // The command layer (keys, popup-menu items, frame controls).
  CFrameCommands& Commands() { return commands_; }
  // The toolbar panels: normal capture's and web capture's (nullptr before start-up).
  CCaptureToolbarDlg* CaptureToolbar() { return captureToolbar_.get(); }
  CWebToolbarDlg* WebToolbar() { return webToolbar_.get(); }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  using LayeredSetter = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

  // IOptionHost
  HWND FrameWindow() const override { return Hwnd(); }
  framlet::settings::FrameRect FramePlacement() const override;
  void SaveFramePosition() override;

  // IFrameViewsHost (SignedIn and PopupClosed above)
  void SetAddressText(const std::wstring& text) override;
  void AddTitle(const std::wstring& title) override;

  // IPageCallHost
  void SetSignedIn(bool on) override { signedIn = on; }
  HWND GuidePopupWindow() override { return views_.GuidePopupWindow(); }
  void SetPopupClosed() override { popupClosed = true; }

  // IFrameCommandHost (the rest among the public operations)
  CCaptureEngine* Engine() override { return engine_.get(); }
  framlet::CaptureOptions& CaptureSettings() override { return options_; }
  void NavigatePrimaryView(const std::string& url) override { views_.Navigate(url); }
  CWebPage* PrimaryView() override { return views_.Primary(); }
  std::string DocumentsFolder() const override { return docFolder; }
  void LeaveMaximized() override;
  void ApplyModeLayering() override;
  void ShowAreaOutline() override;
  void HideAreaOutline() override;
  void ShowHelpPage() override { OnHelpPage(); }
  void ExitProgram() override { OnExit(); }
  void NudgeFrame(framlet::commands::Operation nudge) override;
  bool AskContinuousOptions() override;
  void ClearScrollTipsSuppressed() override;
  void CoverWholeScreen(const RECT& window) override { commands_.CoverWholeScreen(window); }

  // IToolbarHost (FrameWindow and NormalMode above)
  void RunToolbarCommand(framlet::toolbar::Command command) override { commands_.RunToolbar(command); }
  bool ContinuousRunning() const override;
  bool ScrollRunning() const override;
  void RefreshTabStrip() override;

  // IBrowserTabHost (SignedIn above)
  void RequireSignIn() override { commands_.RequireSignIn(framlet::commands::Operation::EnterNormalMode); }
  void EnterNormalMode() override { commands_.EnterNormalMode(); }

  // The address box: Enter, the first click, and text typed in Korean input mode.
  bool OnEnterKey(const MSG& msg);
  bool OnAddressClick(const MSG& msg);
  void OnAddressChanged();

  // The notification icon's right click and the options button.
  void OnTrayMenu();
  void OnOptionsMenu();
  void RunOptionsMenuItem(UINT id);

  // The frame's two places in the key chain (ui/key_chain.h), for messages
  // bound for the frame or its children; false lets the message on.
  // Its accelerator tables, in their order: the first that matches sends its command.
  bool OnTableKey(MSG& msg);
  // After a page had its turn: Escape, Enter, plain arrows, the address box's first click.
  bool OnWindowKey(MSG& msg);
  void LoadKeyTables();
  void NudgeFromStoredRect(UINT key, bool shift);

  void ApplySkin();
  void LayOut(int w, int h);
  void UpdateCoordLabel();
  void ApplyAlwaysTop(bool on);

  void OnPaint();
  BOOL OnEraseBackground(HDC dc);
  void OnSize(int w, int h);
  void OnMove();
  void OnLButtonDown(int x, int y);
  void OnLButtonDblClk(int x, int y);
  void OnMouseMove(int x, int y);
  INT_PTR OnSetCursor(HWND over, UINT hitTest);
  void OnGetMinMaxInfo(MINMAXINFO* info);
  void OnTrayNotification(WPARAM wParam, LPARAM lParam);
  void OnMinimize();
  void OnCloseToTray();
  void OnAlwaysTopClicked();
  void OnHomePage();
  void OnHelpPage();
  // Presses the switch to web capture, as the page buttons do in normal capture mode.
  void ShowWebMode();
  void PressWebModeButton();
  void OnExit();
  void HideTips();
  void HideToolbarTips(bool bothPanels);

  framlet::frame::Zone ZoneAt(int x, int y) const;
  RECT ClientRect() const;
  RECT WindowRect() const;

  // ---- state ----
  bool normalMode = false;
  bool signedIn = false;
  bool popupClosed = false;
  bool maximized = false;
  bool hiddenToTray = false;
  bool layered = false;
  framlet::frame::Place restoreRect = {0, 0, framlet::frame::kDefaultWidth, framlet::frame::kDefaultHeight};
  std::string docFolder;

  bool controlsReady_ = false;
  LayeredSetter layeredSetter_ = nullptr;

  CExternalDispatch* external_;
  framlet::CaptureOptions options_;
  CFrameChrome chrome_;
  CTrayIcon trayIcon_;
  CHoverTipDlg hoverTip_;
  std::unique_ptr<CCaptureEngine> engine_;
  std::unique_ptr<COptionDlg> optionDlg_;
  std::unique_ptr<CContinuousOptionDlg> continuousOptionDlg_;
  std::unique_ptr<CAreaOutlineDlg> areaOutline_;
  std::unique_ptr<CCaptureToolbarDlg> captureToolbar_;
  std::unique_ptr<CWebToolbarDlg> webToolbar_;
  std::unique_ptr<CBrowserTabBar> tabBar_;
  CFrameViews views_{*this, external_};
  CFrameCommands commands_{*this};
  // The parts that fill the command seams; made after the engine, freed before it.
  std::vector<std::unique_ptr<CFramePart>> parts_;
  // The accelerator tables in the order they are tried.
  std::vector<HACCEL> accelerators_;
  framlet::ui::KeyFilter tableKeys_;
  framlet::ui::KeyFilter windowKeys_;

  framlet::ui::Icon bigIcon_;
  // Set while a stop button's place is repainted for the grab that follows:
  // the paint then only completes the erase (the hole) and does nothing else.
  bool repaintingUnderButton_ = false;
  framlet::ui::Icon smallIcon_;
};
