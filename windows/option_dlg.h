#pragma once
#include <windows.h>

#include "core/capture_options.h"
#include "core/settings.h"
#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// What the options dialog needs from the capture frame. The frame implements
// it, so the dialog does not depend on the frame's class.
struct IOptionHost {
  // The frame's window: the dialog's owner.
  virtual HWND FrameWindow() const = 0;
  // The frame's window left and top and its client width and height.
  virtual framlet::settings::FrameRect FramePlacement() const = 0;
  // Keeps the frame above other windows or not, at its place and size, and
  // shows the choice in its always-on-top check box.
  virtual void SetAlwaysTop(bool on) = 0;
  // Writes the frame's current rectangle to AUTOPOS_HISTORY.
  virtual void SaveFramePosition() = 0;

 protected:
  ~IOptionHost() = default;
};

// The options dialog (dialog 242, caption "Option"). It edits the settings
// file and the frame's in-memory capture options: OK writes both, so later
// captures use the new values without reading the file again. One object
// lives as long as the frame; DoModal opens at most one window at a time.
class COptionDlg : public CDialogBase {
 public:
  COptionDlg(framlet::CaptureOptions& options, IOptionHost& host);

  // Shows the dialog modally, owned by the frame. Returns IDOK or IDCANCEL;
  // IDCANCEL at once when the window is open already.
  INT_PTR DoModal();

 protected:
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void LoadValues();
  void OnOk();
  void OnBrowse();
  void OnOpenFolder();

  framlet::CaptureOptions& options_;
  IOptionHost& host_;
  // The frame's topmost state chosen by OK, applied again once the dialog is gone.
  enum class TopmostChoice { None, On, Off };
  TopmostChoice topmostChoice_ = TopmostChoice::None;
  framlet::ui::Font font_;
  CSkinLabel hint_;
  CSkinButton ok_;
  CSkinButton cancel_;
};
