#pragma once
#include <windows.h>

#include <memory>

#include "ui/window_base.h"

class CCaptureEngine;

// Where the picture to print comes from.
enum class PrintSource { ClipboardImage, FrameArea };

// What one print came to. Nothing is printed unless the result is Printed.
enum class PrintResult { Printed, NoPicture, TooLarge, NoMemory, NoPrinter, Failed };

// Prints `picture` on one page of the default printer, without a printer
// dialog: stretched over the printable area (fitToPaper) or at its own scale
// from the top-left corner, in portrait or landscape. The pixels go at no more
// than 300 to the printed inch, in bands of rows (print_rules.h). The printer
// surface and every buffer are freed before it returns.
PrintResult PrintPicture(HBITMAP picture, bool fitToPaper, bool portrait);

// The print settings dialog (dialog 240, caption "인쇄설정"): fit to the paper
// or keep the picture's physical scale, portrait or landscape. Its print button
// hides the dialog, prints one page on the default printer without a printer
// dialog and closes it. Choices are not remembered between openings.
class CPrintSettingDlg : public CDialogBase {
 public:
  // `picture` is the clipboard's bitmap for ClipboardImage (not owned; it must
  // stay valid while the dialog is open). `frameArea` is the screen rectangle
  // grabbed at the moment of printing for FrameArea.
  CPrintSettingDlg(PrintSource source, HBITMAP picture, RECT frameArea);
  ~CPrintSettingDlg() override;

  // Shows the dialog modally; IDOK after printing (whether or not a page came
  // out), IDCANCEL when closed without printing.
  INT_PTR DoModal(HWND owner);

  bool fitToPaper = true;
  bool portrait = true;
  PrintSource printSource = PrintSource::ClipboardImage;
  HBITMAP clipboardImage = nullptr;
  // What the last print button came to (Failed until one is pressed).
  PrintResult lastResult = PrintResult::Failed;

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

  // Prints the picture with the dialog's choices; a seam the tests replace.
  virtual PrintResult Print(HBITMAP picture);

 private:
  void SetOrientation(bool portraitChosen);
  void OnPrint();

  RECT frameArea_;
  // Set from the print button's press until the dialog ends.
  bool printing_ = false;
  std::unique_ptr<CCaptureEngine> engine;
};
