#include <windows.h>

#include "app/capture_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The application object starts OLE for its thread and ends it when it goes.
  CCaptureApp app;
  app.InitInstance();
  return 0;
}
