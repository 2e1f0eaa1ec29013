#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "app/commands_rules.h"
#include "app/frame_commands.h"
#include "app/frame_parts.h"
#include "app/frame_recorder.h"
#include "capture/capture_engine.h"
#include "web/site_config.h"
#include "windows/login_prompt_dlg.h"
#include "windows/paint_program.h"

// The outside programs the frame starts: the separate screen recorder (or
// the page to download it) and the system paint program.
namespace {

constexpr char kRecorderUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tapeloom";
constexpr char kRecorderProgram[] = "\\Orvandi\\Tapeloom\\Tapeloom.exe";
// Text and patterns of the file-open dialog's one filter, as the dialog
// lists them: "text|patterns|".
constexpr char kImageFilter[] = "Image (*.BMP,*.JPG,*.GIF,*.PNG) | *.BMP;*.JPG;*.GIF;*.PNG |";

bool Listed(REGSAM view) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRecorderUninstallKey, 0, KEY_READ | view, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string ProgramUnder(int folderId) {
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, folderId, nullptr, SHGFP_TYPE_CURRENT, folder))) return "";
  return std::string(folder) + kRecorderProgram;
}

class CRecorderPart final : public CFramePart, public IRecorder, public IPaintEditor {
 public:
  explicit CRecorderPart(IFrameCommandHost& host) : host_(host) {}

  void LaunchRecorder() override {
    HWND frame = host_.FrameWindow();
    const std::string program = InstalledRecorderProgram();
    if (!program.empty()) {
      ShellExecuteA(frame, "open", program.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      return;
    }
    CRecorderPromptDlg prompt;
    if (prompt.DoModal(frame) != IDOK) return;
    host_.NavigatePrimaryView(framlet::site::RecorderDownloadUrl());
    // The page shows only in web capture.
    if (host_.NormalMode()) host_.SetNormalMode(false);
  }

  void EditInPaint() override {
    CCaptureEngine* engine = host_.Engine();
    if (!engine) return;
    const RECT r = host_.CaptureRect();
    const std::string path = engine->GrabAndAutoSave(r.left, r.top, r.right, r.bottom, host_.CaptureSettings().jpegQuality);
    if (!path.empty()) OpenInPaint(host_.FrameWindow(), path);
  }

  void EditFileInPaint() override {
    const std::string filter = framlet::commands::FileDialogFilter(kImageFilter);
    char file[MAX_PATH] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = host_.FrameWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
    if (GetOpenFileNameA(&ofn)) OpenInPaint(host_.FrameWindow(), file);
  }

 private:
  IFrameCommandHost& host_;
};

}  // namespace

std::string InstalledRecorderProgram() {
  if (Listed(KEY_WOW64_64KEY)) return ProgramUnder(CSIDL_PROGRAM_FILES);
  // An install by a 32-bit installer: listed in the 32-bit view, under Program Files (x86).
  if (Listed(KEY_WOW64_32KEY)) return ProgramUnder(CSIDL_PROGRAM_FILESX86);
  return "";
}

std::unique_ptr<CFramePart> MakeRecorderPart(IFrameCommandHost& host, CommandSeams& seams) {
  auto part = std::make_unique<CRecorderPart>(host);
  seams.recorder = part.get();
  seams.paintEditor = part.get();
  return part;
}
