#pragma once
#include <windows.h>

#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/window_base.h"

// The options dialog (dialog 242, caption "Option") and the in-memory holder of
// the capture settings it edits. Constructing it only reads the settings file,
// so the capture frame and the preview window each keep one as a holder and
// open its window on demand with DoModal(owner).
//
// The owner is the capture frame: OK writes the frame's window position and
// client size to AUTOPOS_HISTORY and makes the frame topmost or not.
class COptionDlg : public CDialogBase {
 public:
  // Reads AUTO_SAVE, CAPTURE_REVIEW and JPEG_QUALITY from the settings file.
  COptionDlg();

  // Shows the dialog modally, owned by the capture frame. Returns IDOK or IDCANCEL.
  INT_PTR DoModal(HWND frame);

  // In-memory copies used by the capture commands; OK updates them together
  // with the file.
  bool autoSave = false;
  bool captureReview = true;
  int jpegQuality = 100;

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

  // The frame's topmost state chosen by OK, applied again once the dialog is gone.
  enum class TopmostChoice { None, On, Off };
  TopmostChoice topmostChoice_ = TopmostChoice::None;
  framlet::ui::Font font_;
  CSkinLabel hint_;
  CSkinButton ok_;
  CSkinButton cancel_;
};
