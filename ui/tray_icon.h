#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "ui/gdi.h"

// One notification-area icon of a window. The window receives
// `callbackMessage` with the icon identifier in wParam and the mouse message in
// LOWORD(lParam). When the shell's taskbar is re-created (Explorer restarted)
// the window must pass the "TaskbarCreated" message to OnTaskbarCreated, which
// adds the icon again. Creating the icon lets that message through the
// window's message filter: the program may run elevated, and an elevated
// window otherwise never hears from the (unelevated) shell.
class CTrayIcon {
 public:
  CTrayIcon() = default;
  CTrayIcon(const CTrayIcon&) = delete;
  CTrayIcon& operator=(const CTrayIcon&) = delete;
  // Removes the icon.
  ~CTrayIcon();

  // Adds the icon: window, callback message, tooltip (at most 127 characters),
  // icon (may be null and set later with SetIcon) and identifier. False when
  // the window does not exist or the shell refused the icon.
  bool Create(HWND window, UINT callbackMessage, const std::wstring& tooltip, HICON icon, UINT id);
  // Loads icon resource `iconResourceId` (small icon size) and shows it.
  bool SetIcon(UINT iconResourceId);
  bool SetTooltip(const std::wstring& tooltip);
  void Remove();

  bool Exists() const { return added_; }
  UINT Id() const { return data_.uID; }

  // Default handling of a notification: when a menu resource with the icon's
  // identifier exists, a right click shows its first popup at the cursor and a
  // double click runs the popup's first item; otherwise nothing happens.
  LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

  // Registered "TaskbarCreated" message number.
  static UINT TaskbarCreatedMessage();
  // Adds the icon again after the taskbar came back; true when it was re-added.
  bool OnTaskbarCreated();

  // The window message filter's change call, found in user32 at run time
  // (ChangeWindowMessageFilterEx); tests put a recorder in its place, nullptr
  // restores the system's.
  using MessageFilterChange = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  static void SetMessageFilterChangeForTesting(MessageFilterChange change);

 private:
  bool Add();
  NOTIFYICONDATAW data_ = {};
  framlet::ui::Icon icon_;
  bool created_ = false;
  bool added_ = false;
};
