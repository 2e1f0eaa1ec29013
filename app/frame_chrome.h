#pragma once
#include <windows.h>

#include <array>
#include <string>

#include "ui/gdi.h"
#include "ui/picture.h"
#include "ui/skin_button.h"
#include "ui/skin_label.h"
#include "ui/skin_picture.h"

// The capture frame's chrome: the pictures its background is composed of, the
// logo, its picture buttons with their faces, the coordinate label, and where
// each of them sits for a client size. The frame owns one and keeps the
// behaviour (commands, mouse, layering, settings); the chrome only looks.
class CFrameChrome {
 public:
  CFrameChrome() = default;
  CFrameChrome(const CFrameChrome&) = delete;
  CFrameChrome& operator=(const CFrameChrome&) = delete;

  // Loads the pictures and fonts and takes over the frame's controls (dialog 102).
  void Attach(HWND frame);
  // Gives the controls back and frees the label's font (the label first).
  void Detach();

  // Moves every control to its place for client size w x h (without
  // repainting) and applies the width rules.
  void LayOut(int w, int h, bool normalMode);
  // Options and help buttons shown or hidden, the area button moved, by width.
  void ApplyWidthRules(int w);

  // Composes the background of a w x h client area onto dc: the pieces in
  // order, the hole keyed (see-through) or light, and the web address on the
  // top band when there is room.
  void DrawBackground(HDC dc, int w, int h, bool holeSeeThrough) const;

  // Shows the maximise button, or the restore button when maximised.
  void ShowMaximized(bool maximized);
  // Erases and redraws the buttons and the label over a freshly painted frame.
  void RedrawControls(bool maximized);

  // The coordinate label: a new text (which shows it) or hidden.
  void SetCoordText(const std::wstring& text);
  void HideCoordLabel();

  bool AlwaysTopChecked() const;
  // Sets the always-on-top check box without notifying the frame.
  void SetAlwaysTopChecked(bool checked);

 private:
  CSkinButton* Button(int id);
  const CSkinButton* Button(int id) const;

  // The picture buttons of dialog 102, one for each entry of the face table.
  static constexpr size_t kButtonCount = 16;

  HWND frame_ = nullptr;

  // Background pieces, in drawing order.
  framlet::ui::Picture topLeft_, top_, topRight_, edgeLeft_, holeKey_, holeLight_, edgeRight_;
  framlet::ui::Picture bottomLeft_, bottom_, bottomRight_;
  framlet::ui::Font labelFont_;
  framlet::ui::Font addressFont_;

  CSkinPicture logo_;
  std::array<CSkinButton, kButtonCount> buttons_;
  CSkinLabel coordLabel_;
};
