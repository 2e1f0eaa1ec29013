#include "ui/tray_icon.h"

#include <cwchar>

namespace {

CTrayIcon::MessageFilterChange g_filterChangeForTesting = nullptr;

CTrayIcon::MessageFilterChange MessageFilterChangeCall() {
  if (g_filterChangeForTesting) return g_filterChangeForTesting;
  static const auto system = reinterpret_cast<CTrayIcon::MessageFilterChange>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilterEx")));
  return system;
}

}  // namespace

void CTrayIcon::SetMessageFilterChangeForTesting(MessageFilterChange change) {
  g_filterChangeForTesting = change;
}

CTrayIcon::~CTrayIcon() {
  Remove();
}

UINT CTrayIcon::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

bool CTrayIcon::Create(HWND window, UINT callbackMessage, const std::wstring& tooltip, HICON icon, UINT id) {
  Remove();
  if (!window || !IsWindow(window)) return false;
  data_ = {};
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = id;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data_.uCallbackMessage = callbackMessage;
  data_.hIcon = icon;
  wcsncpy(data_.szTip, tooltip.c_str(), _countof(data_.szTip) - 1);
  created_ = true;
  if (const MessageFilterChange allow = MessageFilterChangeCall())
    allow(window, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
  return Add();
}

bool CTrayIcon::Add() {
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
  return added_;
}

bool CTrayIcon::SetIcon(UINT iconResourceId) {
  auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconResourceId), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
  if (!icon) return false;
  icon_.Reset(icon);
  data_.hIcon = icon;
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  if (!added_) return false;
  return Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

bool CTrayIcon::SetTooltip(const std::wstring& tooltip) {
  wcsncpy(data_.szTip, tooltip.c_str(), _countof(data_.szTip) - 1);
  data_.szTip[_countof(data_.szTip) - 1] = L'\0';
  if (!added_) return false;
  return Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

void CTrayIcon::Remove() {
  if (added_) {
    NOTIFYICONDATAW remove = {};
    remove.cbSize = sizeof remove;
    remove.hWnd = data_.hWnd;
    remove.uID = data_.uID;
    Shell_NotifyIconW(NIM_DELETE, &remove);
  }
  added_ = false;
  created_ = false;
}

bool CTrayIcon::OnTaskbarCreated() {
  if (!created_ || !IsWindow(data_.hWnd)) return false;
  return Add();
}

LRESULT CTrayIcon::OnTrayNotification(WPARAM wParam, LPARAM lParam) {
  if (!added_ || wParam != data_.uID) return 0;
  const UINT mouse = LOWORD(lParam);
  if (mouse != WM_RBUTTONUP && mouse != WM_LBUTTONDBLCLK) return 0;

  framlet::ui::Menu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(data_.uID)));
  if (!menu) return 0;
  HMENU popup = GetSubMenu(menu, 0);
  if (!popup) return 0;
  if (mouse == WM_RBUTTONUP) {
    SetMenuDefaultItem(popup, 0, TRUE);
    POINT cursor;
    GetCursorPos(&cursor);
    SetForegroundWindow(data_.hWnd);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, data_.hWnd, nullptr);
    PostMessageW(data_.hWnd, WM_NULL, 0, 0);
  } else {
    const UINT first = GetMenuItemID(popup, 0);
    if (first != static_cast<UINT>(-1)) SendMessageW(data_.hWnd, WM_COMMAND, first, 0);
  }
  return 1;
}
