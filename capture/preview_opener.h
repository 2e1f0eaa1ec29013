#pragma once
#include <windows.h>

#include "capture/captured_image.h"

// Opens the capture preview for a picture the engine has just captured. The
// preview window lives in a layer above the engine, so the program installs
// its opener at start-up (CCaptureEngine::SetPreviewOpener) and the engine
// calls it; without one, OpenPreview does nothing.
struct IPreviewOpener {
  // Runs the preview of `picture` modally in front of `owner` (the engine's
  // owner window); the preview owns the picture.
  virtual void OpenPreview(HWND owner, CCapturedImage picture) = 0;

 protected:
  ~IPreviewOpener() = default;
};
