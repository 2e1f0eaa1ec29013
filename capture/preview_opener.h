#pragma once
#include <windows.h>

// Opens the capture preview for a picture the engine has just put on the
// clipboard. The preview window lives in a layer above the engine, so the
// program installs its opener at start-up (CCaptureEngine::SetPreviewOpener)
// and the engine calls it; without one, OpenPreview does nothing.
struct IPreviewOpener {
  // Runs the preview modally in front of `owner` (the engine's owner window).
  virtual void OpenPreview(HWND owner) = 0;

 protected:
  ~IPreviewOpener() = default;
};
