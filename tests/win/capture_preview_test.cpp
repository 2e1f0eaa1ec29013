// The capture preview and the actual-size viewer as built windows: where they
// open for the picture handed to them or on the clipboard, what they draw, what their buttons and
// keys do (save through the engine, copy, edit, print, actual size), that they
// keep their own copy of the picture, and the viewer's scrolling.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "capture/capture_engine.h"
#include "capture/shrink.h"
#include "core/command_ids.h"
#include "core/module_dir.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "dialog_test_util.h"
#include "image_test_util.h"
#include "resource.h"
#include "win_test_util.h"
#include "windows/actual_size_dlg.h"
#include "windows/capture_preview_dlg.h"
#include "windows/preview_rules.h"

using namespace framlet;

namespace {

constexpr COLORREF kBody = RGB(200, 40, 40);
constexpr COLORREF kRightColumn = RGB(20, 180, 60);
constexpr COLORREF kBottomRow = RGB(30, 60, 220);

// A picture of one colour with its last column and last row in colours of their own.
CCapturedImage MarkedPicture(int w, int h) {
  imagetest::Pixels p{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
  auto rgb = [](COLORREF c) { return static_cast<uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      p.rgb[static_cast<size_t>(y) * w + x] = rgb(x == w - 1 ? kRightColumn : y == h - 1 ? kBottomRow : kBody);
  return imagetest::MakeImage(p);
}

void PutPicture(int w, int h) {
  ASSERT_TRUE(CCaptureEngine::PutOnClipboard(nullptr, MarkedPicture(w, h)));
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// "<w>x<h>" of the clipboard's bitmap, or "none".
std::string ClipboardPicture() {
  std::string text = "none";
  if (!OpenClipboard(nullptr)) return "busy";
  if (HBITMAP b = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
    BITMAP info = {};
    GetObjectW(b, sizeof info, &info);
    text = std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
  }
  CloseClipboard();
  return text;
}

using wintest::ScreenPixel;
using wintest::WaitUntil;

RECT WindowRect(HWND w) {
  RECT r = {};
  GetWindowRect(w, &r);
  return r;
}

// The preview with its outside effects recorded instead of carried out.
class RecordingPreview : public CCapturePreviewDlg {
 public:
  using CCapturePreviewDlg::CCapturePreviewDlg;
  std::string paintPath;
  HBITMAP printed = nullptr;
  HBITMAP viewed = nullptr;
  int prints = 0;
  int views = 0;

 protected:
  void StartPaint(const std::string& path) override { paintPath = path; }
  void OpenPrintSettings(HBITMAP picture) override {
    printed = picture;
    ++prints;
  }
  void OpenActualSize(HBITMAP picture) override {
    viewed = picture;
    ++views;
  }
};

class CapturePreview : public wintest::WinTest {
 protected:
  void TearDown() override { EmptyTheClipboard(); }
  // Runs the preview modally over a stand-in frame while `steps` works it.
  INT_PTR Run(CCapturePreviewDlg& preview, const std::function<void(HWND)>& steps) {
    bool found = false;
    const INT_PTR result =
        wintest::RunModal([&] { return preview.DoModal(frame_.Hwnd()); }, nullptr, frame_.Hwnd(), steps, &found);
    EXPECT_TRUE(found) << "the preview did not open in front of its owner";
    return result;
  }

  CCaptureEngine codecs_{nullptr};  // keeps the image codecs running for Decode
  wintest::FakeFrame frame_{0, 0, 900, 700, WS_EX_TOPMOST};
  const int screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight_ = GetSystemMetrics(SM_CYSCREEN);
};

TEST_F(CapturePreview, OpensAroundThePictureDrawsItAndLaysOutItsButtons) {
  PutPicture(100, 100);
  RecordingPreview preview;
  RECT opened = {}, grown = {};
  std::string buttons;
  bool restoreShown = true, noticeShown = true;
  std::wstring label;
  bool pictureDrawn = false, tileBesideIt = false;
  const INT_PTR result = Run(preview, [&](HWND d) {
    opened = WindowRect(d);
    restoreShown = IsWindowVisible(GetDlgItem(d, IDC_PV_RESTORE)) != FALSE;
    noticeShown = IsWindowVisible(GetDlgItem(d, IDC_PV_COPY_NOTICE)) != FALSE;
    label = wintest::ItemText(d, IDC_PV_SIZE_LABEL);
    // A 100 x 100 picture is drawn at its own size centred on (210, 235).
    pictureDrawn = WaitUntil([&] { return ScreenPixel(d, 210, 235) == kBody; });
    tileBesideIt = ScreenPixel(d, 150, 235) != kBody && ScreenPixel(d, 160, 235) == kBody;
    // The user makes it larger: the buttons follow the right edge and the tiles' end.
    SetWindowPos(d, nullptr, 0, 0, 700, 600, SWP_NOMOVE | SWP_NOZORDER);
    grown = WindowRect(d);
    buttons = wintest::ControlDifferences(d, {
                                                 {IDC_PV_SAVE, 580, 38, 112, -1},
                                                 {IDC_PV_CLOSE_TOP, 675, -1, -1, -1},
                                                 {IDC_PV_CLOSE, 580, 527, -1, -1},        // rows end at 520
                                                 {IDC_PV_ACTUAL_SIZE, 472, 573, -1, -1},  // columns end at 560
                                             });
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_EQ(result, CCapturePreviewDlg::ClosedByButton);
  // 300 x 300 grown to the minimum and centred on the screen.
  EXPECT_EQ(opened.right - opened.left, 540);
  EXPECT_EQ(opened.bottom - opened.top, 490);
  EXPECT_EQ(opened.left, screenWidth_ / 2 - 270);
  EXPECT_EQ(opened.top, screenHeight_ / 2 - 245);
  EXPECT_FALSE(restoreShown);
  EXPECT_FALSE(noticeShown);
  EXPECT_EQ(label, L"파일정보 100 X 100");
  EXPECT_TRUE(pictureDrawn) << "the picture is not where the fit puts it";
  EXPECT_TRUE(tileBesideIt) << "the picture's left edge is not at x = 160";
  EXPECT_EQ(grown.right - grown.left, 700);
  EXPECT_EQ(buttons, "");
}

TEST_F(CapturePreview, APictureShownSmallerDropsRowsAndColumnsUnmixed) {
  // No two neighbouring pixels alike: a pixel picked one off, or two mixed,
  // shows as a wrong colour.
  const imagetest::Pixels source = imagetest::ManyColours(600, 1000);
  ASSERT_TRUE(CCaptureEngine::PutOnClipboard(nullptr, imagetest::MakeImage(source)));
  RecordingPreview preview;
  preview::Box box;
  imagetest::Pixels shown;
  bool drawn = false;
  Run(preview, [&](HWND d) {
    SetWindowPos(d, nullptr, 0, 0, 800, 700, SWP_NOMOVE | SWP_NOZORDER);
    RECT client = {};
    GetClientRect(d, &client);
    box = preview::FitPicture(source.width, source.height, client.right, client.bottom);
    const auto expected = [&](int x, int y) {
      const uint32_t rgb = source.At(DroppedPick(source.width, box.width, x), DroppedPick(source.height, box.height, y));
      return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    };
    const int lastX = box.width - 1, lastY = box.height - 1;
    drawn = WaitUntil([&] { return ScreenPixel(d, box.x + lastX, box.y + lastY) == expected(lastX, lastY); });
    POINT origin = {box.x, box.y};
    ClientToScreen(d, &origin);
    CCapturedImage grab;
    if (codecs_.Grab(origin.x, origin.y, box.width, box.height, grab, ExcludeLayered)) shown = imagetest::ReadImage(grab);
    wintest::Click(d, IDC_PV_CLOSE);
  });
  ASSERT_TRUE(drawn) << "the picture's last pixel is not the one dropping leaves there";
  EXPECT_EQ(box.width, 372);  // squeezed by the height cap: the picture's own look
  EXPECT_EQ(box.height, 550);
  ASSERT_EQ(shown.width, box.width);
  int wrong = 0;
  for (int y = 0; y < box.height; ++y)
    for (int x = 0; x < box.width; ++x)
      if (shown.At(x, y) != source.At(DroppedPick(source.width, box.width, x), DroppedPick(source.height, box.height, y)))
        ++wrong;
  EXPECT_EQ(wrong, 0) << "pixels that are not the picked source pixel";

  // A picture held as a display bitmap rather than a section (read a row at
  // a time) comes out the same, the right way up.
  const CCapturedImage display = imagetest::MakeImage(source);
  ui::Bitmap dropped = DropBitmap(display.Bitmap(), box.width, box.height);
  ASSERT_TRUE(dropped);
  CCapturedImage held;
  held.Attach(dropped.Release());
  const imagetest::Pixels fromDisplay = imagetest::ReadImage(held);
  EXPECT_EQ(fromDisplay.rgb, shown.rgb);
}

TEST_F(CapturePreview, APictureAsWideAsTheScreenOpensFiftyFromTheEdge) {
  PutPicture(screenWidth_ - 200, 300);
  RecordingPreview preview;
  RECT opened = {};
  Run(preview, [&](HWND d) {
    opened = WindowRect(d);
    wintest::Click(d, IDC_PV_CLOSE_TOP);
  });
  EXPECT_EQ(opened.left, 50);
  EXPECT_EQ(opened.right - opened.left, screenWidth_ - 100);
  EXPECT_EQ(opened.bottom - opened.top, 500);
}

TEST_F(CapturePreview, KeepsItsOwnCopyWhenTheClipboardIsEmptiedUnderIt) {
  PutPicture(120, 80);
  HBITMAP clipboards = nullptr;
  if (OpenClipboard(nullptr)) {
    clipboards = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    CloseClipboard();
  }
  RecordingPreview preview;
  std::string afterCopy;
  bool noticeShown = false;
  Run(preview, [&](HWND d) {
    // Another program takes the clipboard: the clipboard's bitmap is gone.
    EmptyTheClipboard();
    wintest::Click(d, IDC_PV_PRINT);
    wintest::Click(d, IDC_PV_ACTUAL_SIZE);
    wintest::Click(d, IDC_PV_COPY);
    afterCopy = ClipboardPicture();
    noticeShown = IsWindowVisible(GetDlgItem(d, IDC_PV_COPY_NOTICE)) != FALSE;
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_EQ(preview.prints, 1);
  EXPECT_EQ(preview.views, 1);
  EXPECT_NE(preview.printed, clipboards) << "the print dialog was handed the clipboard's bitmap";
  EXPECT_EQ(preview.printed, preview.viewed);
  EXPECT_EQ(preview.printed, preview.Image().Bitmap());
  EXPECT_EQ(afterCopy, "120x80") << "copy must put the picture back, not just say so";
  EXPECT_TRUE(noticeShown);
  // The copy the preview drew from holds the captured pixels.
  const imagetest::Pixels pixels = imagetest::ReadImage(preview.Image());
  ASSERT_EQ(pixels.width, 120);
  EXPECT_EQ(pixels.At(10, 10), 0xC82828u);
  EXPECT_EQ(pixels.At(119, 10), 0x14B43Cu);
}

TEST_F(CapturePreview, AHandedCaptureIsShownWhateverTheClipboardHolds) {
  PutPicture(100, 100);  // an earlier picture, still on the clipboard
  RecordingPreview preview(MarkedPicture(60, 40));
  std::wstring label;
  Run(preview, [&](HWND d) {
    label = wintest::ItemText(d, IDC_PV_SIZE_LABEL);
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_EQ(label, L"파일정보 60 X 40");
  const imagetest::Pixels pixels = imagetest::ReadImage(preview.Image());
  ASSERT_EQ(pixels.width, 60);
  EXPECT_EQ(pixels.At(59, 10), 0x14B43Cu);
  EXPECT_EQ(ClipboardPicture(), "100x100") << "the clipboard is left alone";
}

TEST_F(CapturePreview, ItsCopyOfThePictureIsFreedWithTheWindow) {
  PutPicture(40, 30);
  HBITMAP copy = nullptr;
  {
    RecordingPreview preview;
    Run(preview, [&](HWND d) { wintest::Click(d, IDC_PV_CLOSE); });
    copy = preview.Image().Bitmap();
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(GetObjectType(copy), static_cast<DWORD>(OBJ_BITMAP)) << "alive while its holder is";
  }
  EXPECT_EQ(GetObjectType(copy), 0u) << "the preview's copy outlived it";
  EXPECT_EQ(ClipboardPicture(), "40x30") << "the clipboard keeps its own";
}

TEST_F(CapturePreview, SaveGoesThroughTheEngineAndClosesOnlyWhenAFileWasWritten) {
  PutPicture(64, 48);
  settings::WriteText(keys::kLastAutoPass, "C:\\old\\shot.png");
  {
    // The dialog cancelled: the window stays, LASTAUTOPASS is emptied.
    RecordingPreview preview;
    bool openAfterCancel = false;
    imagetest::DialogDriver driver({"", -1, true});
    Run(preview, [&](HWND d) {
      wintest::Click(d, IDC_PV_SAVE);
      openAfterCancel = IsWindowVisible(d) != FALSE;
      wintest::Click(d, IDC_PV_CLOSE);
    });
    EXPECT_TRUE(driver.Seen().found);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_EQ(settings::ReadText(keys::kLastAutoPass), "");
  }
  {
    // A name given in the dialog: the file is the picture, the preview closes.
    const std::string path = folder_.File("saved.bmp");
    RecordingPreview preview;
    HWND previewWindow = nullptr;
    imagetest::DialogDriver driver({path, 1, false});
    const INT_PTR result = Run(preview, [&](HWND d) {
      previewWindow = d;
      EmptyTheClipboard();  // the save must not depend on the clipboard
      wintest::Click(d, IDC_PV_SAVE);
    });
    EXPECT_EQ(result, CCapturePreviewDlg::Saved);
    EXPECT_EQ(driver.Seen().owner, previewWindow) << "the save dialog belongs to the preview";
    const imagetest::Pixels saved = imagetest::Decode(path);
    ASSERT_EQ(saved.width, 64);
    ASSERT_EQ(saved.height, 48);
    EXPECT_EQ(saved.At(0, 0), 0xC82828u);
    EXPECT_EQ(saved.At(10, 47), 0x1E3CDCu);
  }
  {
    // Automatic saving: a stamped name beside the last one, remembered.
    PutPicture(64, 48);
    settings::WriteFlag(keys::kAutoSave, true);
    settings::WriteText(keys::kLastAutoPass, folder_.File("auto.png"));
    RecordingPreview preview;
    const INT_PTR result = Run(preview, [&](HWND d) { wintest::Click(d, IDC_PV_SAVE); });
    EXPECT_EQ(result, CCapturePreviewDlg::Saved);
    const std::string written = settings::ReadText(keys::kLastAutoPass);
    EXPECT_NE(written, folder_.File("auto.png"));
    EXPECT_EQ(written.rfind(folder_.File("auto"), 0), 0u) << written;
    EXPECT_EQ(imagetest::Signature(written), "PNG") << written;
  }
}

TEST_F(CapturePreview, EditWritesTheBitmapIntoTheProgramsTempFolderAndHandsItOver) {
  PutPicture(33, 21);
  const std::string expected = GetModuleDir() + "temp\\captureimg.bmp";
  DeleteFileA(expected.c_str());
  RecordingPreview preview;
  const INT_PTR result = Run(preview, [&](HWND d) {
    EmptyTheClipboard();
    wintest::Click(d, IDC_PV_EDIT);
  });
  EXPECT_EQ(result, CCapturePreviewDlg::Edited);
  EXPECT_EQ(preview.paintPath, expected);
  EXPECT_EQ(imagetest::Signature(expected), "BMP");
  const imagetest::Pixels written = imagetest::Decode(expected);
  EXPECT_EQ(written.width, 33);
  EXPECT_EQ(written.height, 21);
  DeleteFileA(expected.c_str());
}

TEST_F(CapturePreview, EditThatCannotWriteStartsNothingAndStaysOpen) {
  PutPicture(20, 20);
  // A file where the temp folder belongs: neither the folder nor the picture can be made.
  const std::string folder = GetModuleDir() + "temp";
  DeleteFileA((folder + "\\captureimg.bmp").c_str());
  RemoveDirectoryA(folder.c_str());
  wintest::WriteFileBytes(folder, "not a folder");
  RecordingPreview preview;
  bool stillOpen = false;
  const INT_PTR result = Run(preview, [&](HWND d) {
    wintest::Click(d, IDC_PV_EDIT);
    stillOpen = IsWindowVisible(d) != FALSE;
    wintest::Click(d, IDC_PV_CLOSE);
  });
  DeleteFileA(folder.c_str());
  EXPECT_TRUE(stillOpen) << "an older picture would be opened in its place";
  EXPECT_EQ(preview.paintPath, "");
  EXPECT_EQ(result, CCapturePreviewDlg::ClosedByButton);
}

TEST_F(CapturePreview, WithoutAPictureEveryActionDoesNothing) {
  EmptyTheClipboard();
  RecordingPreview preview;
  RECT opened = {};
  std::wstring label;
  bool stillOpen = false, noticeShown = true;
  const INT_PTR result = Run(preview, [&](HWND d) {
    opened = WindowRect(d);
    label = wintest::ItemText(d, IDC_PV_SIZE_LABEL);
    for (int id : {IDC_PV_SAVE, IDC_PV_COPY, IDC_PV_EDIT, IDC_PV_PRINT, IDC_PV_ACTUAL_SIZE}) wintest::Click(d, id);
    RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    stillOpen = IsWindowVisible(d) != FALSE;
    noticeShown = IsWindowVisible(GetDlgItem(d, IDC_PV_COPY_NOTICE)) != FALSE;
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_EQ(result, CCapturePreviewDlg::ClosedByButton);
  EXPECT_TRUE(preview.Image().Empty());
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(noticeShown);
  EXPECT_EQ(preview.prints + preview.views, 0);
  EXPECT_EQ(preview.paintPath, "");
  EXPECT_EQ(ClipboardPicture(), "none");
  EXPECT_EQ(label, L"파일정보 0 X 0");
  EXPECT_EQ(opened.right - opened.left, 540);
  EXPECT_EQ(opened.bottom - opened.top, 490);
}

TEST_F(CapturePreview, AltKeysActAsTheButtonsWhileEnterAndEscapeAreSwallowed) {
  PutPicture(50, 50);
  RecordingPreview preview;
  bool openAfterEnterAndEscape = false, noticeAfterAltC = false, printedAfterAltP = false;
  auto press = [](BYTE key, bool alt) {
    if (alt) keybd_event(VK_MENU, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (alt) keybd_event(VK_MENU, 0, KEYEVENTF_KEYUP, 0);
  };
  Run(preview, [&](HWND d) {
    // Typed keys, so the key state the accelerators read is the keyboard's.
    SetForegroundWindow(d);
    WaitUntil([&] { return GetForegroundWindow() == d; });
    press(VK_RETURN, false);
    press(VK_ESCAPE, false);
    press('C', true);
    press('P', true);
    noticeAfterAltC = WaitUntil([&] { return IsWindowVisible(GetDlgItem(d, IDC_PV_COPY_NOTICE)) != FALSE; });
    printedAfterAltP = WaitUntil([&] { return preview.prints == 1; });
    openAfterEnterAndEscape = IsWindow(d) && IsWindowVisible(d);
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_TRUE(openAfterEnterAndEscape);
  EXPECT_TRUE(noticeAfterAltC);
  EXPECT_TRUE(printedAfterAltP);
}

TEST_F(CapturePreview, MaximizeRestoreAndNoDragWhileMaximized) {
  PutPicture(80, 60);
  RecordingPreview preview;
  RECT maximizedRect = {}, afterEdgePress = {}, restored = {}, opened = {};
  bool maxButton = true, restoreButton = false, restoredButtons = false;
  MINMAXINFO limits = {};
  Run(preview, [&](HWND d) {
    opened = WindowRect(d);
    SendMessageW(d, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    wintest::Click(d, IDC_PV_MAXIMIZE);
    maximizedRect = WindowRect(d);
    maxButton = IsWindowVisible(GetDlgItem(d, IDC_PV_MAXIMIZE)) != FALSE;
    restoreButton = IsWindowVisible(GetDlgItem(d, IDC_PV_RESTORE)) != FALSE;
    // A press on the left border of a maximized window neither moves nor sizes it.
    SendMessageW(d, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 300));
    SendMessageW(d, WM_LBUTTONUP, 0, MAKELPARAM(2, 300));
    afterEdgePress = WindowRect(d);
    // A double click on the title strip restores.
    SendMessageW(d, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(200, 10));
    restored = WindowRect(d);
    restoredButtons =
        IsWindowVisible(GetDlgItem(d, IDC_PV_MAXIMIZE)) && !IsWindowVisible(GetDlgItem(d, IDC_PV_RESTORE));
    wintest::Click(d, IDC_PV_CLOSE);
  });
  EXPECT_EQ(limits.ptMinTrackSize.x, 540);
  EXPECT_EQ(limits.ptMinTrackSize.y, 490);
  EXPECT_GE(maximizedRect.right - maximizedRect.left, screenWidth_ - 2);
  EXPECT_FALSE(maxButton);
  EXPECT_TRUE(restoreButton);
  EXPECT_TRUE(EqualRect(&maximizedRect, &afterEdgePress));
  EXPECT_TRUE(EqualRect(&restored, &opened));
  EXPECT_TRUE(restoredButtons);
  EXPECT_FALSE(preview.Maximized());
}

// ---- The actual-size viewer ----

class ActualSizeViewer : public CapturePreview {
 protected:
  INT_PTR RunViewer(HBITMAP picture, const std::function<void(HWND, HWND)>& steps) {
    CActualSizeDlg viewer(picture);
    bool found = false;
    const INT_PTR result = wintest::RunModal(
        [&] { return viewer.DoModal(frame_.Hwnd()); }, nullptr, frame_.Hwnd(),
        [&](HWND d) {
          HWND view = nullptr;
          WaitUntil([&] { return (view = viewer.View() ? viewer.View()->Hwnd() : nullptr) != nullptr; });
          steps(d, view);
        },
        &found);
    EXPECT_TRUE(found);
    return result;
  }
  static bool HasBar(HWND view, DWORD style) { return (GetWindowLongPtrW(view, GWL_STYLE) & style) != 0; }
  static RECT Client(HWND view) {
    RECT r = {};
    GetClientRect(view, &r);
    return r;
  }
};

TEST_F(ActualSizeViewer, ASmallPictureIsCentredWithoutBars) {
  CCapturedImage picture = MarkedPicture(300, 200);
  RECT opened = {}, viewRect = {};
  bool hBar = true, vBar = true, centre = false, outside = false;
  RunViewer(picture.Bitmap(), [&](HWND d, HWND view) {
    opened = WindowRect(d);
    viewRect = WindowRect(view);
    hBar = HasBar(view, WS_HSCROLL);
    vBar = HasBar(view, WS_VSCROLL);
    // 300 x 200 in 792 x 618: from (246, 209).
    centre =
        WaitUntil([&] { return ScreenPixel(view, 246, 209) == kBody && ScreenPixel(view, 545, 300) == kRightColumn; });
    outside = ScreenPixel(view, 245, 209) != kBody;
    wintest::Click(d, IDC_AS_CLOSE);
  });
  EXPECT_EQ(opened.right - opened.left, 800);
  EXPECT_EQ(opened.bottom - opened.top, 650);
  EXPECT_EQ(opened.left, screenWidth_ / 2 - 400);
  EXPECT_EQ(viewRect.left, opened.left + 4);
  EXPECT_EQ(viewRect.top, opened.top + 28);
  EXPECT_EQ(viewRect.right - viewRect.left, 792);
  EXPECT_EQ(viewRect.bottom - viewRect.top, 618);
  EXPECT_FALSE(hBar);
  EXPECT_FALSE(vBar);
  EXPECT_TRUE(centre);
  EXPECT_TRUE(outside);
}

TEST_F(ActualSizeViewer, ALargePictureScrollsBothWaysAndResizingReturnsToTheStart) {
  CCapturedImage picture = MarkedPicture(2000, 1500);
  bool bars = false, rightEdgeFlush = false;
  int endX = -1, pageX = -1, pageY = -1, wheelY = -1, afterResizeX = -1, afterResizeY = -1, cw = 0;
  RECT movedView = {}, movedViewer = {};
  RunViewer(picture.Bitmap(), [&](HWND d, HWND view) {
    bars = HasBar(view, WS_HSCROLL) && HasBar(view, WS_VSCROLL);
    cw = Client(view).right;
    SendMessageW(view, WM_HSCROLL, SB_BOTTOM, 0);
    endX = GetScrollPos(view, SB_HORZ);
    // The picture's last column meets the view's right edge.
    rightEdgeFlush = WaitUntil([&] { return ScreenPixel(view, cw - 1, 100) == kRightColumn; }) &&
                     ScreenPixel(view, cw - 2, 100) == kBody;
    SendMessageW(view, WM_HSCROLL, SB_TOP, 0);
    SendMessageW(view, WM_HSCROLL, SB_PAGERIGHT, 0);
    pageX = GetScrollPos(view, SB_HORZ);
    SendMessageW(view, WM_VSCROLL, SB_PAGEDOWN, 0);
    pageY = GetScrollPos(view, SB_VERT);
    SendMessageW(d, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    wheelY = GetScrollPos(view, SB_VERT);
    SetWindowPos(d, nullptr, 10, 20, 900, 700, SWP_NOZORDER);
    afterResizeX = GetScrollPos(view, SB_HORZ);
    afterResizeY = GetScrollPos(view, SB_VERT);
    movedViewer = WindowRect(d);
    movedView = WindowRect(view);
    SendMessageW(view, WM_KEYDOWN, VK_ESCAPE, 1);
  });
  EXPECT_TRUE(bars);
  EXPECT_EQ(endX, 2000 - cw);
  EXPECT_TRUE(rightEdgeFlush);
  EXPECT_EQ(pageX, 20);
  EXPECT_EQ(pageY, 100);
  EXPECT_EQ(wheelY, 200);
  EXPECT_EQ(afterResizeX, 0);
  EXPECT_EQ(afterResizeY, 0);
  EXPECT_EQ(movedView.left, movedViewer.left + 4);
  EXPECT_EQ(movedView.top, movedViewer.top + 28);
  EXPECT_EQ(movedView.right - movedView.left, 892);
  EXPECT_EQ(movedView.bottom - movedView.top, 668);
}

TEST_F(ActualSizeViewer, TheWheelLeavesAWideButShortPictureAloneAndEnterClosesNothing) {
  CCapturedImage picture = MarkedPicture(3000, 100);
  int wheelY = -1;
  bool openAfterEnter = false, hBar = false, vBar = true;
  const INT_PTR result = RunViewer(picture.Bitmap(), [&](HWND d, HWND view) {
    hBar = HasBar(view, WS_HSCROLL);
    vBar = HasBar(view, WS_VSCROLL);
    SendMessageW(d, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    wheelY = GetScrollPos(view, SB_VERT);
    HWND focus = GetDlgItem(d, IDC_AS_CLOSE);
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
    // Once the keys are handled, the viewer is still there.
    frame_.WaitPostedHandled();
    openAfterEnter = IsWindow(d) != FALSE;
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_TRUE(hBar);
  EXPECT_FALSE(vBar);
  EXPECT_EQ(wheelY, 0);
  EXPECT_TRUE(openAfterEnter);
}

TEST_F(ActualSizeViewer, WithoutAPictureItOpensAndCloses) {
  bool bars = true;
  const INT_PTR result = RunViewer(nullptr, [&](HWND d, HWND view) {
    bars = HasBar(view, WS_HSCROLL) || HasBar(view, WS_VSCROLL);
    SendMessageW(view, WM_VSCROLL, SB_BOTTOM, 0);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    wintest::Click(d, IDC_AS_CLOSE);
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(bars);
}

}  // namespace
