// The program's exit routine: the paint program's temporary capture goes, the
// address text is kept, and the quit message ends the run.
#include <gtest/gtest.h>

#include <fstream>

#include "app/capture_app.h"
#include "core/module_dir.h"
#include "core/settings.h"
#include "win_test_util.h"

using CaptureAppExit = wintest::WinTest;

TEST_F(CaptureAppExit, DeletesTheTemporaryCaptureKeepsTheAddressAndQuits) {
  const std::string tempFolder = framlet::GetModuleDir() + "temp";
  CreateDirectoryA(tempFolder.c_str(), nullptr);
  const std::string capture = tempFolder + "\\captureimg.bmp";
  std::ofstream(capture, std::ios::binary) << "BM";

  CCaptureApp app;
  EXPECT_EQ(TheApp(), &app);
  app.Exit("http://example.test/page?a=1");

  EXPECT_EQ(GetFileAttributesA(capture.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(framlet::settings::ReadText(framlet::keys::kLastUrlRemember), "http://example.test/page?a=1");
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 0u);

  // A second exit with no temporary file is no error.
  app.Exit("");
  EXPECT_EQ(framlet::settings::ReadText(framlet::keys::kLastUrlRemember), "");
  PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  RemoveDirectoryA(tempFolder.c_str());
}
