#pragma once
#include <windows.h>

// The options dialog (dialog 242, caption "Option") and the in-memory holder of
// the capture settings it edits. Constructing it only reads the settings file,
// so the capture frame and the preview window each keep one as a holder and
// open its window on demand.
class COptionDlg {
 public:
  // Reads AUTO_SAVE, CAPTURE_REVIEW and JPEG_QUALITY from the settings file.
  COptionDlg();
  ~COptionDlg();
  COptionDlg(const COptionDlg&) = delete;
  COptionDlg& operator=(const COptionDlg&) = delete;

  // Shows the dialog modally. `frame` is the capture frame: the dialog's owner,
  // whose placement OK writes to AUTOPOS_HISTORY and whose topmost state OK
  // sets. Returns IDOK or IDCANCEL.
  INT_PTR DoModal(HWND frame);

  // The dialog's window while it is open, else nullptr.
  HWND Handle() const { return hwnd_; }
  bool IsOpen() const { return hwnd_ != nullptr; }

  // In-memory copies used by the capture commands; OK updates them together
  // with the file.
  bool autoSave = false;
  bool captureReview = true;
  int jpegQuality = 100;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnInitDialog();
  void OnOk();
  void OnBrowse();
  void OnOpenFolder();

  struct Skin;
  HWND hwnd_ = nullptr;
  HWND frame_ = nullptr;
  Skin* skin_ = nullptr;
};
