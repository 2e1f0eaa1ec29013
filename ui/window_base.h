#pragma once
#include <windows.h>

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
  static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  UINT templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

// Base of plain (non-dialog) windows: binds `this` on WM_NCCREATE
// (GWLP_USERDATA) and unbinds on WM_NCDESTROY. HandleMessage returns the
// window procedure's result; the default is DefWindowProcW.
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
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};
