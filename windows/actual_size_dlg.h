#pragma once
#include <windows.h>

#include <memory>

#include "ui/gdi.h"
#include "ui/skin_button.h"
#include "ui/window_base.h"
#include "windows/image_scroll_view.h"
#include "windows/preview_skin.h"

// The actual-size viewer (dialog 270): a modal, borderless window in the
// preview skin, titled "원본크기로 보기(100%)", whose scrolling view shows a
// picture pixel for pixel. It moves, sizes, maximizes and restores like the
// preview; Escape and its close button close it. The picture belongs to the
// caller (the preview's own copy) and must outlive the viewer.
class CActualSizeDlg : public CDialogBase {
 public:
  explicit CActualSizeDlg(HBITMAP picture);
  ~CActualSizeDlg() override;

  CImageScrollView* View() const { return view.get(); }
  bool Maximized() const { return maximized; }

 protected:
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  void OnCommand(int id, int code, HWND control) override;
  void OnDestroy() override;

 private:
  void LayOut();
  void OnPaint();
  void Compose(HDC dc, int w, int h);
  void SetMaximized(bool on);

  // Fields as the window defines them.
  bool maximized = false;
  std::unique_ptr<CImageScrollView> view;

  HBITMAP picture_;
  framlet::preview::Skin skin_;
  framlet::preview::KeyFilter keys_;
  framlet::ui::Font titleFont_;
  CSkinButton maximize_, restore_, close_;
};
