#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "capture/capture_engine.h"
#include "capture/captured_image.h"
#include "core/capture_options.h"
#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/skin_picture.h"
#include "ui/window_base.h"
#include "windows/preview_skin.h"

// The capture preview (dialog 243): a borderless, skinned window that shows
// a picture fitted into a tiled backdrop, with its size, and offers save,
// copy, edit in the paint program, print, the actual-size viewer and close.
// It moves from anywhere on its surface, sizes from its borders, maximizes
// and restores.
//
// The picture is the capture handed to it, which it owns; opened without one,
// it copies the clipboard's picture when it opens. Either way the clipboard
// changing under it (another program, the next capture) leaves the preview,
// the viewer and the print dialog with a live picture, and the clipboard
// failing during a capture does not change what it shows. With no usable
// picture nothing is drawn and the picture's actions do nothing.
class CCapturePreviewDlg : public CDialogBase {
 public:
  // How the window ended: a close button, a written save, or the hand-over to the paint program.
  enum Ending : INT_PTR { ClosedByButton = IDCANCEL, Saved = IDOK, Edited = 3 };

  // `picture`: the capture to show; empty to show the clipboard's picture.
  explicit CCapturePreviewDlg(CCapturedImage picture = {});
  ~CCapturePreviewDlg() override;

  // The picture shown (empty when there was none).
  const CCapturedImage& Image() const { return image; }
  bool Maximized() const { return maximized; }
  bool CopyNoticeShown() const { return copyNotice_.Visible(); }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

  // The print settings for the picture; a seam the tests replace.
  virtual void OpenPrintSettings(HBITMAP picture);
  // Starts the paint program on the written file; a seam the tests replace.
  virtual void StartPaint(const std::string& path);
  // The actual-size viewer for the picture; a seam the tests replace.
  virtual void OpenActualSize(HBITMAP picture);

 private:
  void BuildSkin();
  void ReadPicture();
  void PlaceFirst();
  void LayOut(int w, int h);
  void OnPaint();
  // Copies the composed client area (made when the size changed) into dc.
  void CopyComposed(HDC dc);
  // Composes the whole client area (backdrop, picture, strips) into dc.
  void Compose(HDC dc, int w, int h);
  void DrawPicture(HDC dc, int w, int h);
  void OnLeftDown(POINT client);
  void OnDoubleClick(POINT client);
  void SetMaximized(bool on);

  void OnSave();
  void OnCopy();
  void OnEdit();
  void OnPrint();
  void OnActualSize();
  void OnClose();

  // The capture handed to the window, until it opens.
  CCapturedImage handed_;
  // Fields as the window defines them.
  CCapturedImage image;
  // The client area as last composed, and its size.
  framlet::ui::Bitmap composed_;
  int composedWidth_ = 0;
  int composedHeight_ = 0;
  // The picture as last shown smaller than it is, and that size.
  framlet::ui::Bitmap fitted_;
  int fittedWidth_ = 0;
  int fittedHeight_ = 0;
  int imageWidth = 0;
  int imageHeight = 0;
  bool maximized = false;
  std::unique_ptr<CCaptureEngine> engine;
  framlet::CaptureOptions settings;

  framlet::preview::Skin skin_;
  framlet::preview::KeyFilter keys_;
  std::vector<framlet::ui::Accelerator> accelerators_;
  framlet::ui::Font labelFont_;
  CSkinButton logo_, maximize_, restore_, closeTop_, save_, copy_, edit_, print_, close_, actualSize_;
  CSkinLabel sizeLabel_;
  CSkinPicture copyNotice_;
};
