#include "ui/window_base.h"

#include <optional>

#include "ui/check_paint.h"
#include "ui/compositor.h"
#include "ui/dialog_font_rules.h"
#include "ui/dpi_change.h"

namespace framlet::ui::detail {

// What differs between a dialog and a plain window: the message that brings
// the object, where the object comes in, which window slot keeps it, and what
// "not handled" answers.
template <class Window>
struct Binding;

template <>
struct Binding<CDialogBase> {
  using Result = INT_PTR;
  static constexpr UINT kBindMessage = WM_INITDIALOG;
  static constexpr int kSlot = DWLP_USER;
  static CDialogBase* Object(LPARAM lParam) { return reinterpret_cast<CDialogBase*>(lParam); }
  // FALSE hands the message to the dialog manager's own handling.
  static INT_PTR Unhandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
};

template <>
struct Binding<CWindowBase> {
  using Result = LRESULT;
  static constexpr UINT kBindMessage = WM_NCCREATE;
  static constexpr int kSlot = GWLP_USERDATA;
  static CWindowBase* Object(LPARAM lParam) {
    return static_cast<CWindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
  }
  static LRESULT Unhandled(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

// Binds the object to the window when it arrives, passes every message to its
// HandleMessage, unbinds on WM_NCDESTROY and then calls OnFinalMessage (which
// may delete the object). An exception from a handler ends at this procedure:
// the message gets default handling, as if the object had not handled it.
template <class Window>
struct WindowProcedure {
  using Kind = Binding<Window>;

  static typename Kind::Result CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    bool bound = false;
    if (message == Kind::kBindMessage) {
      self = Kind::Object(lParam);
      if (self) {
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, Kind::kSlot, reinterpret_cast<LONG_PTR>(self));
        bound = true;
        // A top-level window is gone from the screen as soon as it is hidden.
        if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)) DisableTransitions(hwnd);
      }
    } else {
      self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, Kind::kSlot));
    }
    if (!self) return Kind::Unhandled(hwnd, message, wParam, lParam);

    typename Kind::Result result = 0;
    try {
      if (bound) self->Bound();
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      result = Kind::Unhandled(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, Kind::kSlot, 0);
      self->hwnd_ = nullptr;
      try {
        self->Unbound();
        self->OnFinalMessage();
      } catch (...) {
      }
    }
    return result;
  }
};

}  // namespace framlet::ui::detail

using framlet::ui::detail::WindowProcedure;

namespace {

// The font named by dialog template `id` of `module`, if it names one in points.
std::optional<framlet::ui::TemplateFont> TemplateFontOf(HINSTANCE module, UINT id) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
  if (!resource) return std::nullopt;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return std::nullopt;
  return framlet::ui::ReadTemplateFont(static_cast<const std::uint8_t*>(bytes), SizeofResource(module, resource));
}

}  // namespace

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
  const INT_PTR result = DialogBoxParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent,
                                         WindowProcedure<CDialogBase>::Proc, reinterpret_cast<LPARAM>(this));
  modal_ = false;
  return result;
}

bool CDialogBase::Create(HWND parent) {
  if (IsOpen()) return true;
  modal_ = false;
  return CreateDialogParamW(Instance(), MAKEINTRESOURCEW(templateId_), parent, WindowProcedure<CDialogBase>::Proc,
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

void CDialogBase::Bound() {
  textFont_.Reset();
  // The dialog manager's font: the template's face, weight and character set at the display's DPI.
  const HFONT templateFont = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  const std::optional<framlet::ui::TemplateFont> named = TemplateFontOf(Instance(), templateId_);
  LOGFONTW font = {};
  if (!templateFont || !named || !GetObjectW(templateFont, sizeof font, &font)) return;
  font.lfHeight = -framlet::ui::PixelHeightAt96Dpi(named->pointSize);
  font.lfWidth = 0;
  textFont_.Reset(CreateFontIndirectW(&font));
  if (!textFont_) return;
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const HFONT current = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    if (current == templateFont || current == nullptr)
      SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(textFont_.Get()), FALSE);
  }
}

void CDialogBase::ScaleTemplateTo96Dpi() {
  if (!textFont_) return;
  // Pixels of 4 horizontal and 8 vertical dialog units now (the template's
  // font at the display's DPI) and with the 96-DPI font the controls show.
  RECT now = {0, 0, 4, 8};
  if (!MapDialogRect(hwnd_, &now) || now.right <= 0 || now.bottom <= 0) return;
  HDC dc = GetDC(hwnd_);
  if (!dc) return;
  const HGDIOBJ old = SelectObject(dc, textFont_.Get());
  TEXTMETRICW metrics = {};
  SIZE letters = {};
  static constexpr wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const bool measured = GetTextMetricsW(dc, &metrics) && GetTextExtentPoint32W(dc, kLetters, 52, &letters);
  SelectObject(dc, old);
  ReleaseDC(hwnd_, dc);
  if (!measured) return;
  const int baseX = (letters.cx / 26 + 1) / 2;
  const int baseY = metrics.tmHeight;
  if (baseX <= 0 || baseY <= 0 || (baseX == now.right && baseY == now.bottom)) return;
  // Every control and the client area shrink back to what the template gives
  // at 96 DPI, as the text does; dialogs that lay themselves out in pixels
  // place their controls again afterwards.
  auto x = [&](LONG v) { return MulDiv(v, baseX, now.right); };
  auto y = [&](LONG v) { return MulDiv(v, baseY, now.bottom); };
  for (HWND child = GetWindow(hwnd_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r = {};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
    SetWindowPos(child, nullptr, x(r.left), y(r.top), x(r.right) - x(r.left), y(r.bottom) - y(r.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The window as its 96-DPI frame around the 96-DPI client area; the frame
  // grows to the display's borders afterwards (KeepClientAreaOf96Dpi).
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT window = {}, client = {};
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  RECT wanted = {0, 0, x(client.right), y(client.bottom)};
  if (!AdjustWindowRectExForDpi(&wanted, style, FALSE, exStyle, USER_DEFAULT_SCREEN_DPI)) return;
  const int width = wanted.right - wanted.left;
  const int height = wanted.bottom - wanted.top;
  // Shrunk about its centre, so a dialog that centred itself stays centred.
  SetWindowPos(hwnd_, nullptr, window.left + (window.right - window.left - width) / 2,
               window.top + (window.bottom - window.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDialogBase::KeepClientAreaOf96Dpi() {
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT frame96 = {};
  if (!AdjustWindowRectExForDpi(&frame96, style, FALSE, exStyle, USER_DEFAULT_SCREEN_DPI)) return;
  RECT window = {}, client = {};
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  const int growX = (window.right - window.left - client.right) - (frame96.right - frame96.left);
  const int growY = (window.bottom - window.top - client.bottom) - (frame96.bottom - frame96.top);
  if (growX <= 0 && growY <= 0) return;
  // Grown about its centre, so a dialog that centred itself stays centred.
  SetWindowPos(hwnd_, nullptr, window.left - growX / 2, window.top - growY / 2, window.right - window.left + growX,
               window.bottom - window.top + growY, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CDialogBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      ScaleTemplateTo96Dpi();
      const BOOL setFocus = OnInitDialog();
      KeepClientAreaOf96Dpi();
      framlet::ui::KeepDialogLayoutOnDpiChange(hwnd_);
      return setFocus;
    }
    case WM_GETDPISCALEDSIZE:
      // The size the window is given stays its size at the new DPI.
      return Result(TRUE);
    case WM_DPICHANGED:
      // Handled by keeping the window's place and size (not the suggested rectangle).
      return Result(0);
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      // Check boxes and radio buttons keep their 96-DPI box, as the text keeps its pixel size.
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == NM_CUSTOMDRAW) {
        const LRESULT drawn = framlet::ui::PaintCheckAtPixelSize(*reinterpret_cast<const NMCUSTOMDRAW*>(lParam));
        if (drawn == CDRF_SKIPDEFAULT) return Result(drawn);
      }
      return FALSE;
    }
    case WM_GETFONT:
      // Controls and skinned labels that follow the dialog's font get the pixel-sized one.
      if (textFont_) return Result(reinterpret_cast<LRESULT>(textFont_.Get()));
      return FALSE;
    case WM_DESTROY:
      OnDestroy();
      return FALSE;
  }
  return FALSE;
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
    wc.lpfnWndProc = WindowProcedure<CWindowBase>::Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CreateWindowExW(exStyle, className, L"", style, x, y, width, height, parent, menuOrId, instance, this) !=
         nullptr;
}

LRESULT CWindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDPISCALEDSIZE:
      // As for dialogs: the window keeps its size and place at any DPI.
      return TRUE;
    case WM_DPICHANGED:
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}
