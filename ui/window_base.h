#pragma once
#include <windows.h>

#include "ui/gdi.h"

namespace framlet::ui::detail {
// The one window procedure of both bases (window_base.cpp).
template <class Window>
struct WindowProcedure;
}  // namespace framlet::ui::detail

// Base of every dialog-based window. The object passed as the creation
// parameter is bound to the HWND on WM_INITDIALOG (DWLP_USER) and unbound on
// WM_NCDESTROY; from then on every message reaches HandleMessage.
//
// A derived class overrides HandleMessage with a switch over the messages it
// reacts to, each case calling a small named method, and ends with
// `return CDialogBase::HandleMessage(message, wParam, lParam);`.
// The return value follows the dialog-procedure rule: TRUE when handled, FALSE
// for default handling; messages that need a result (WM_NCHITTEST, WM_SETCURSOR
// ...) return Result(value). No exception leaves the window procedure.
//
// Text is sized in pixels, as the layouts are: the dialog manager sizes the
// template's font in points, so it would grow with the display's DPI while the
// controls keep their pixel sizes. Before OnInitDialog the base replaces it, on
// the dialog (WM_GETFONT) and on every child that uses it, with the same font
// at its 96-DPI pixel height. Controls given a font of their own keep it.
// Check boxes and radio buttons draw their box at its 96-DPI size, and a window
// sized when it opens keeps the client area that size gives at 96 DPI (its
// title bar and frame grow with the DPI; the window grows by as much).
// A change of DPI while the window is open (moved to a monitor of another
// scale) changes nothing: the window keeps its size, place, controls and fonts.
class CDialogBase {
 public:
  CDialogBase(const CDialogBase&) = delete;
  CDialogBase& operator=(const CDialogBase&) = delete;
  // Destroys the window if it is still open (modeless windows).
  virtual ~CDialogBase();

  // Runs the dialog modally (DialogBoxParamW); returns the EndDialog result, or -1.
  INT_PTR DoModal(HWND parent);
  // Creates the dialog modelessly (CreateDialogParamW); false when it failed.
  bool Create(HWND parent);
  // Ends a modal run, or destroys a modeless window.
  void Close(INT_PTR result = IDCANCEL);

  HWND Hwnd() const { return hwnd_; }
  HWND Item(int id) const { return hwnd_ ? GetDlgItem(hwnd_, id) : nullptr; }
  bool IsOpen() const { return hwnd_ != nullptr && IsWindow(hwnd_); }
  bool IsModal() const { return modal_; }
  UINT TemplateId() const { return templateId_; }
  // The dialog's text font in pixels while the window exists (nullptr when the
  // template names no font in points).
  HFONT TextFont() const { return textFont_.Get(); }

  // The module whose resources (dialogs, bitmaps, icons) the toolkit loads.
  static HINSTANCE Instance();

 protected:
  explicit CDialogBase(UINT templateId) : templateId_(templateId) {}

  virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Named handlers called by the default HandleMessage.
  // OnInitDialog: return TRUE to let the system set the focus.
  virtual BOOL OnInitDialog() { return TRUE; }
  // Default: IDOK and IDCANCEL end the dialog.
  virtual void OnCommand(int id, int code, HWND control);
  virtual void OnDestroy() {}
  // Called after the HWND is unbound; a self-owned modeless window may delete itself here.
  virtual void OnFinalMessage() {}

  // Sets DWLP_MSGRESULT and returns TRUE, for messages whose result matters.
  INT_PTR Result(LRESULT value);

 private:
  friend struct framlet::ui::detail::WindowProcedure<CDialogBase>;
  // Bound: gives the dialog and its children the pixel-sized text font. Unbound: frees it.
  // Places the template's controls and client area as the template gives
  // them at 96 DPI, to match the 96-DPI text.
  void ScaleTemplateTo96Dpi();
  void Bound();
  void Unbound() { textFont_.Reset(); }
  // After OnInitDialog: a title bar and frame drawn larger than at 96 DPI would
  // take their growth from the client area; the window grows by it instead, so
  // the layout keeps the client area a window of that size has at 96 DPI.
  void KeepClientAreaOf96Dpi();

  UINT templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
  framlet::ui::Font textFont_;
};

// Base of plain (non-dialog) windows: binds `this` on WM_NCCREATE
// (GWLP_USERDATA) and unbinds on WM_NCDESTROY. HandleMessage returns the
// window procedure's result; the default is DefWindowProcW. No exception
// leaves the window procedure. A change of DPI moves and resizes nothing.
class CWindowBase {
 public:
  CWindowBase(const CWindowBase&) = delete;
  CWindowBase& operator=(const CWindowBase&) = delete;
  virtual ~CWindowBase();

  // Registers the class once (arrow cursor, no background brush) and creates the window.
  bool CreateWindowOf(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width, int height,
                      HWND parent, HMENU menuOrId = nullptr);
  void Destroy();
  HWND Hwnd() const { return hwnd_; }

 protected:
  CWindowBase() = default;
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  virtual void OnFinalMessage() {}

 private:
  friend struct framlet::ui::detail::WindowProcedure<CWindowBase>;
  void Bound() {}
  void Unbound() {}

  HWND hwnd_ = nullptr;
};
