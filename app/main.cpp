#include <objbase.h>
#include <ole2.h>
#include <windows.h>

#include "app/capture_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // OLE for the hosted browser and the clipboard; the UI thread is single-threaded.
  const HRESULT ole = OleInitialize(nullptr);
  {
    CCaptureApp app;
    app.InitInstance();
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return 0;
}
