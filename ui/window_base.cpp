#include "ui/window_base.h"

#include <exception>

CDialogBase::~CDialogBase() {
  if (hwnd_ && IsWindow(hwnd_)) {
    // The object is going away: unbind first so no message reaches a half-destroyed object.
    SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

HINSTANCE CDialogBase::Instance() {
  return GetModuleHandleW(nullptr);
}

INT_PTR CDialogBase::DoModal(HWND parent) {
  modal_ = true;
  const INT_PTR result =
      DialogBoxParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, StaticProc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

bool CDialogBase::Create(HWND parent) {
  if (IsOpen()) return true;
  modal_ = false;
  return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, StaticProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialogBase::Close(INT_PTR result) {
  if (!hwnd_) return;
  if (modal_)
    EndDialog(hwnd_, result);
  else
    DestroyWindow(hwnd_);
}

INT_PTR CDialogBase::Result(LRESULT value) {
  SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, value);
  return TRUE;
}

void CDialogBase::OnCommand(int id, int, HWND) {
  if (id == IDOK || id == IDCANCEL) Close(id);
}

INT_PTR CDialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
  }
  return FALSE;
}

INT_PTR CALLBACK CDialogBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialogBase* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialogBase*>(lParam);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<CDialogBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;

  INT_PTR result = FALSE;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception&) {
    result = FALSE;
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnFinalMessage();
    } catch (...) {
    }
  }
  return result;
}

// ---- plain windows ----

CWindowBase::~CWindowBase() {
  Destroy();
}

void CWindowBase::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    HWND hwnd = hwnd_;
    hwnd_ = nullptr;
    DestroyWindow(hwnd);
  }
}

bool CWindowBase::CreateWindowOf(const wchar_t* className, DWORD style, DWORD exStyle, int x, int y, int width,
                                 int height, HWND parent, HMENU menuOrId) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, className, &existing)) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, menuOrId, instance, this) !=
         nullptr;
}

LRESULT CWindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWindowBase::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWindowBase* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<CWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  } else {
    self = reinterpret_cast<CWindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    result = DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    try {
      self->OnFinalMessage();
    } catch (...) {
    }
  }
  return result;
}
