// The options dialog and the continuous-capture options, opened modally over a
// stand-in frame and worked from a second thread: what OK writes and in which
// order, what it asks of the frame, that Cancel writes nothing, how stored
// values open, and the in-memory capture options they edit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/capture_options.h"
#include "core/command_ids.h"
#include "core/settings.h"
#include "core/settings_keys.h"
#include "dialog_test_util.h"
#include "win_test_util.h"
#include "windows/continuous_option_dlg.h"
#include "windows/option_dlg.h"

using namespace framlet;
using wintest::Checked;
using wintest::Click;
using wintest::ItemText;

namespace {

// A stand-in frame with what the options dialog asks of it, recorded.
class FakeOptionHost : public IOptionHost {
 public:
  FakeOptionHost(int x, int y, int width, int height, DWORD exStyle = 0) : frame_(x, y, width, height, exStyle) {}

  HWND FrameWindow() const override { return frame_.Hwnd(); }
  settings::FrameRect FramePlacement() const override {
    RECT window = {}, client = {};
    GetWindowRect(frame_.Hwnd(), &window);
    GetClientRect(frame_.Hwnd(), &client);
    return {window.left, window.top, client.right, client.bottom};
  }
  void SetAlwaysTop(bool on) override {
    SetWindowPos(frame_.Hwnd(), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    alwaysTopBox = on;
  }
  void SaveFramePosition() override {
    // What the dialog left in the file when the frame was asked.
    for (const keys::Setting* key : {&keys::kLeft, &keys::kTop, &keys::kWidth, &keys::kHeight})
      placementBeforeSave.push_back(settings::ReadText(*key));
    const settings::FrameRect r = FramePlacement();
    settings::WriteFrameRect(r);
    ++saves;
  }

  bool Topmost() const { return frame_.Topmost(); }

  int saves = 0;
  std::vector<std::string> placementBeforeSave;
  // The frame's always-on-top check box as the dialog last set it (unset: -1).
  int alwaysTopBox = -1;

 private:
  wintest::FakeFrame frame_;
};

class OptionDialogs : public wintest::WinTest {
 protected:
  std::string IniText() const { return wintest::FileBytes(Ini()); }
  void WriteIni(const std::string& text) { wintest::WriteFileBytes(Ini(), text); }

  // Keys of the file in the order they stand, as "SECTION.KEY=value".
  std::vector<std::string> IniLines() const {
    std::vector<std::string> lines;
    std::string section, line;
    const std::string text = IniText();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      line = text.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      start = end + 1;
      if (line.empty()) continue;
      if (line.front() == '[')
        section = line.substr(1, line.size() - 2);
      else
        lines.push_back(section + "." + line);
    }
    return lines;
  }
};

// ---- Options dialog ------------------------------------------------------

TEST_F(OptionDialogs, CaptureOptionsAreReadAsStored) {
  struct Case {
    const char* file;  // nullptr: no file at all
    bool autoSave, captureReview;
    int quality, interval;
  };
  const Case cases[] = {
      {nullptr, false, true, 100, 1000},
      {"[OPTION]\r\nAUTO_SAVE=True\r\nCAPTURE_REVIEW=yes\r\nJPEG_QUALITY=75x\r\nCAPTURE_TIME=250ms\r\n", true, false,
       75, 250},  // only the word true counts; numbers are their leading digits
      {"[OPTION]\r\nJPEG_QUALITY=250\r\nCAPTURE_TIME=\r\n", false, true, 250, 0},  // quality taken as stored
  };
  for (const Case& c : cases) {
    if (c.file)
      WriteIni(c.file);
    else
      DeleteFileA(Ini().c_str());
    const CaptureOptions options = ReadCaptureOptions();
    const char* label = c.file ? c.file : "(no file)";
    EXPECT_EQ(options.autoSave, c.autoSave) << label;
    EXPECT_EQ(options.captureReview, c.captureReview) << label;
    EXPECT_EQ(options.jpegQuality, c.quality) << label;
    EXPECT_EQ(options.captureInterval, c.interval) << label;
  }
}

TEST_F(OptionDialogs, OkWritesEveryKeyInOrderWithTheClampAndTheFramePlacement) {
  FakeOptionHost frame(100, 80, 700, 500, WS_EX_TOPMOST);
  CaptureOptions options;
  COptionDlg dlg(options, frame);
  std::wstring caption;
  bool found = false;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                                           [&](HWND d) {
                                             caption = wintest::Text(d);
                                             wintest::SetCheck(d, IDC_OPT_REMEMBER_POSITION, true);
                                             wintest::SetCheck(d, IDC_OPT_ALWAYS_TOP, false);
                                             wintest::SetCheck(d, IDC_OPT_AUTO_SAVE, true);
                                             wintest::SetCheck(d, IDC_OPT_REVIEW, false);
                                             wintest::SetItemText(d, IDC_OPT_QUALITY, L"250");
                                             wintest::SetItemText(d, IDC_OPT_FOLDER, L"C:\\캡쳐 폴더");
                                             Click(d, IDC_OK_PICTURE);
                                           },
                                           &found);
  ASSERT_TRUE(found);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(caption, L"Option");
  const std::vector<std::string> expected = {
      "OPTION.REMEMBER_POSITION=TRUE", "OPTION.ALWAYS_TOP=FALSE",
      "OPTION.AUTO_SAVE=TRUE",         "OPTION.CAPTURE_REVIEW=FALSE",
      "OPTION.JPEG_QUALITY=100",       "OPTION.SELECT_FOLDER=C:\\\xC4\xB8\xC3\xC4 \xC6\xFA\xB4\xF5",
      "AUTOPOS_HISTORY.LEFT=100",      "AUTOPOS_HISTORY.TOP=80",
      "AUTOPOS_HISTORY.WIDTH=700",     "AUTOPOS_HISTORY.HEIGHT=500",
  };
  EXPECT_EQ(IniLines(), expected);  // the folder is stored in code page 949
  // The in-memory options carry the new values at once; the frame left topmost
  // and its check box shows it.
  EXPECT_TRUE(options.autoSave);
  EXPECT_FALSE(options.captureReview);
  EXPECT_EQ(options.jpegQuality, 100);
  EXPECT_FALSE(frame.Topmost());
  EXPECT_EQ(frame.alwaysTopBox, 0);
  EXPECT_FALSE(dlg.IsOpen());
}

// The quality's clamp is the host rule QualityClamp; one typed text shows it reached.
TEST_F(OptionDialogs, OkWithPositionMemoryOffEmptiesThePlacementThenTheFrameWritesItsRectangle) {
  struct Case {
    const wchar_t* typed;
    const char* stored;
    int quality;
  };
  const Case cases[] = {{L"75x", "75x", 75}};
  for (const Case& c : cases) {
    DeleteFileA(Ini().c_str());
    FakeOptionHost frame(10, 20, 540, 520);
    CaptureOptions options;
    COptionDlg dlg(options, frame);
    wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                      [&](HWND d) {
                        wintest::SetCheck(d, IDC_OPT_REMEMBER_POSITION, false);
                        wintest::SetCheck(d, IDC_OPT_ALWAYS_TOP, true);
                        wintest::SetItemText(d, IDC_OPT_QUALITY, c.typed);
                        Click(d, IDC_OK_PICTURE);
                      });
    const std::vector<std::string> lines = IniLines();
    ASSERT_EQ(lines.size(), 10u) << IniText();
    EXPECT_EQ(lines[0], "OPTION.REMEMBER_POSITION=FALSE");
    EXPECT_EQ(lines[4], std::string("OPTION.JPEG_QUALITY=") + c.stored);
    EXPECT_EQ(options.jpegQuality, c.quality);
    EXPECT_TRUE(frame.Topmost());
    EXPECT_EQ(frame.alwaysTopBox, 1);
    // OK empties the placement; once the dialog is gone the frame writes its
    // real rectangle, which the capture rectangle and the nudges read.
    EXPECT_EQ(frame.placementBeforeSave, (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(frame.saves, 1);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 6, lines.end()),
              (std::vector<std::string>{"AUTOPOS_HISTORY.LEFT=10", "AUTOPOS_HISTORY.TOP=20",
                                        "AUTOPOS_HISTORY.WIDTH=540", "AUTOPOS_HISTORY.HEIGHT=520"}));
  }
}

TEST_F(OptionDialogs, CancelCloseBoxAndEscapeWriteNothing) {
  const std::string before =
      "[OPTION]\r\nAUTO_SAVE=FALSE\r\nJPEG_QUALITY=90\r\nSELECT_FOLDER=C:\\old\r\n[AUTOPOS_HISTORY]\r\nLEFT=5\r\n";
  WriteIni(before);
  // Each way out: the cancel picture, the close box, Escape in the quality edit.
  const std::vector<std::function<void(HWND)>> exits = {
      [](HWND d) { Click(d, IDC_CANCEL_PICTURE); },
      [](HWND d) { SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND d) {
        HWND edit = GetDlgItem(d, IDC_OPT_QUALITY);
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(edit, WM_KEYUP, VK_ESCAPE, 0);
      },
  };
  for (size_t i = 0; i < exits.size(); ++i) {
    FakeOptionHost frame(0, 0, 836, 721, WS_EX_TOPMOST);
    CaptureOptions options = ReadCaptureOptions();
    COptionDlg dlg(options, frame);
    bool found = false;
    const DWORD start = GetTickCount();
    const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                                             [&](HWND d) {
                                               wintest::SetCheck(d, IDC_OPT_AUTO_SAVE, true);
                                               wintest::SetCheck(d, IDC_OPT_ALWAYS_TOP, false);
                                               wintest::SetItemText(d, IDC_OPT_QUALITY, L"250");
                                               wintest::SetItemText(d, IDC_OPT_FOLDER, L"C:\\new");
                                               exits[i](d);
                                             },
                                             &found);
    ASSERT_TRUE(found) << i;
    EXPECT_EQ(result, IDCANCEL) << i;
    EXPECT_LT(GetTickCount() - start, 6000u) << i << ": closed by the watchdog, not by the exit";
    EXPECT_EQ(IniText(), before) << i;
    EXPECT_FALSE(options.autoSave) << i;
    EXPECT_EQ(options.jpegQuality, 90) << i;
    EXPECT_TRUE(frame.Topmost()) << i;
    EXPECT_EQ(frame.alwaysTopBox, -1) << i;
    EXPECT_EQ(frame.saves, 0) << i;
  }
}

TEST_F(OptionDialogs, OpensWithTheStoredValues) {
  struct Case {
    const char* autoSave;
    bool checked;
  };
  const Case cases[] = {{"true", true}, {"True", true}, {"TRUE", true}, {"yes", false}, {"1", false}, {"", false}};
  for (const Case& c : cases) {
    WriteIni(std::string("[OPTION]\r\nAUTO_SAVE=") + c.autoSave +
             "\r\nREMEMBER_POSITION=FALSE\r\nJPEG_QUALITY=75x\r\nSELECT_FOLDER=D:\\shots\r\n");
    FakeOptionHost frame(0, 0, 836, 721);
    CaptureOptions options;
    COptionDlg dlg(options, frame);
    bool autoSave = false, remember = true, alwaysTop = false, review = false;
    std::wstring quality, folder;
    wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                      [&](HWND d) {
                        autoSave = Checked(d, IDC_OPT_AUTO_SAVE);
                        remember = Checked(d, IDC_OPT_REMEMBER_POSITION);
                        alwaysTop = Checked(d, IDC_OPT_ALWAYS_TOP);
                        review = Checked(d, IDC_OPT_REVIEW);
                        quality = ItemText(d, IDC_OPT_QUALITY);
                        folder = ItemText(d, IDC_OPT_FOLDER);
                        Click(d, IDC_CANCEL_PICTURE);
                      });
    EXPECT_EQ(autoSave, c.checked) << c.autoSave;
    EXPECT_FALSE(remember);
    EXPECT_TRUE(alwaysTop);  // missing keys take their defaults
    EXPECT_TRUE(review);
    EXPECT_EQ(quality, L"75x");  // shown as stored, not as read
    EXPECT_EQ(folder, L"D:\\shots");
  }
}

TEST_F(OptionDialogs, ControlsSitAtTheirPixelPlacesWithTheirTextsAndFonts) {
  FakeOptionHost frame(0, 0, 836, 721);
  CaptureOptions options;
  COptionDlg dlg(options, frame);
  RECT window = {};
  std::string differences;
  LOGFONTW rememberFont = {}, reviewFont = {};
  int spinLow = -1, spinHigh = -1;
  wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                    [&](HWND d) {
                      wintest::HoldForScreenshot("options");
                      GetWindowRect(d, &window);
                      differences = wintest::ControlDifferences(
                          d, {
                                 // id                       x    y    width height text
                                 {IDC_OK_PICTURE, 213, 250, 75, 25, L""},  // picture buttons have no caption
                                 {IDC_CANCEL_PICTURE, 294, -1, -1, -1},
                                 {IDC_OPT_REMEMBER_POSITION, 19, 33, 95, -1, L"좌표 자동기억"},
                                 {IDC_OPT_FOLDER, 30, 205, 230, -1},
                                 {IDC_OPT_BROWSE, 270, -1, -1, -1},
                                 {IDC_OPT_AUTO_SAVE, -1, -1, -1, -1, L"파일명을 묻지 않고 자동 저장"},
                                 {IDC_OPT_FOLDER_LABEL, -1, -1, -1, -1, L"저장폴더"},
                                 {IDC_OPT_OPEN_FOLDER, -1, -1, -1, -1, L"열기"},
                             });
                      GetObjectW(
                          reinterpret_cast<HFONT>(SendDlgItemMessageW(d, IDC_OPT_REMEMBER_POSITION, WM_GETFONT, 0, 0)),
                          sizeof rememberFont, &rememberFont);
                      GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(d, IDC_OPT_REVIEW, WM_GETFONT, 0, 0)),
                                 sizeof reviewFont, &reviewFont);
                      SendDlgItemMessageW(d, IDC_OPT_QUALITY_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&spinLow),
                                          reinterpret_cast<LPARAM>(&spinHigh));
                      Click(d, IDC_CANCEL_PICTURE);
                    });
  EXPECT_EQ(window.right - window.left, 390);
  EXPECT_EQ(window.bottom - window.top, 320);
  // Centred on the screen.
  EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 390) / 2);
  EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 320) / 2);
  EXPECT_EQ(differences, "");
  EXPECT_EQ(rememberFont.lfHeight, 12);
  EXPECT_EQ(rememberFont.lfWeight, 550);
  EXPECT_STREQ(rememberFont.lfFaceName, L"굴림");
  EXPECT_NE(reviewFont.lfWeight, 550);  // the review box keeps the dialog's font
  EXPECT_EQ(spinLow, 1);
  EXPECT_EQ(spinHigh, 100);
}

TEST_F(OptionDialogs, FolderPickerFillsTheEditOnlyWhenConfirmedAndWritesNothingItself) {
  const std::string before = "[OPTION]\r\nSELECT_FOLDER=C:\\old\r\n";
  for (int confirm = 0; confirm < 2; ++confirm) {
    WriteIni(before);
    FakeOptionHost frame(0, 0, 836, 721);
    CaptureOptions options;
    COptionDlg dlg(options, frame);
    bool pickerShown = false;
    std::wstring pickerOwnerCheck, folderAfter;
    wintest::RunModal([&] { return dlg.DoModal(); }, L"Option", frame.FrameWindow(),
                      [&](HWND d) {
                        // Posted: the picker runs its own modal loop inside the click.
                        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_OPT_BROWSE, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_OPT_BROWSE)));
                        HWND picker = wintest::WaitDialog(nullptr, d, 8000);
                        pickerShown = picker != nullptr;
                        if (picker) {
                          // The picker's folder tree has its selection once it is filled.
                          wintest::WaitUntil([&] {
                            HWND tree = FindWindowExW(picker, nullptr, WC_TREEVIEWW, nullptr);
                            return tree && SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0;
                          });
                          if (confirm) wintest::HoldForScreenshot("folder_picker");
                          PostMessageW(picker, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
                          wintest::WaitUntil([&] { return !IsWindow(picker); });
                        }
                        // The dialog's thread answers a sent message once it is back
                        // in a message loop, after the click's handler has finished.
                        SendMessageTimeoutW(d, WM_NULL, 0, 0, SMTO_NORMAL, 5000, nullptr);
                        folderAfter = ItemText(d, IDC_OPT_FOLDER);
                        Click(d, IDC_CANCEL_PICTURE);
                      });
    ASSERT_TRUE(pickerShown) << confirm;
    if (confirm)
      EXPECT_NE(folderAfter, L"C:\\old");  // the picker's selection (or the default folder)
    else
      EXPECT_EQ(folderAfter, L"C:\\old");
    EXPECT_FALSE(folderAfter.empty()) << confirm;
    EXPECT_EQ(IniText(), before) << confirm;  // Cancel after browsing keeps the stored folder
  }
}

// ---- Continuous-capture options ---------------------------------------------

TEST_F(OptionDialogs, IntervalDialogOpensOnTheStoredPreset) {
  const int radios[] = {IDC_CONT_CUSTOM,          IDC_CONT_15_PER_SECOND, IDC_CONT_30_PER_SECOND,
                        IDC_CONT_1_PER_SECOND,    IDC_CONT_1_PER_MINUTE,  IDC_CONT_1_PER_10_MINUTES,
                        IDC_CONT_1_PER_30_MINUTES};
  struct Case {
    const char* stored;
    int radio;
  };
  // Which text selects which radio is the host rule IntervalPresets; here a
  // stored preset and the default with no file reach the dialog.
  const Case cases[] = {{"60000", IDC_CONT_1_PER_MINUTE}, {nullptr, IDC_CONT_1_PER_SECOND}};
  for (const Case& c : cases) {
    if (c.stored)
      WriteIni(std::string("[OPTION]\r\nCAPTURE_TIME=") + c.stored + "\r\n");
    else
      DeleteFileA(Ini().c_str());
    wintest::FakeFrame frame(0, 0, 836, 721);
    CaptureOptions options = ReadCaptureOptions();
    CContinuousOptionDlg dlg(options);
    std::vector<int> checked;
    std::wstring text;
    bool found = false;
    wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                      [&](HWND d) {
                        for (int id : radios)
                          if (Checked(d, id)) checked.push_back(id);
                        text = ItemText(d, IDC_CONT_INTERVAL);
                        Click(d, IDC_CANCEL_PICTURE);
                      },
                      &found);
    const char* label = c.stored ? c.stored : "(none)";
    ASSERT_TRUE(found) << label;
    EXPECT_EQ(checked, std::vector<int>{c.radio}) << label;
    const std::string stored = c.stored ? c.stored : "1000";
    EXPECT_EQ(text, std::wstring(stored.begin(), stored.end())) << label;
  }
}

TEST_F(OptionDialogs, PresetClickFillsTheEditAndOkStoresIt) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=500\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  std::wstring afterPreset, afterCustom;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                                           [&](HWND d) {
                                             Click(d, IDC_CONT_15_PER_SECOND);
                                             afterPreset = ItemText(d, IDC_CONT_INTERVAL);
                                             Click(d, IDC_CONT_CUSTOM);  // keeps the edit's text
                                             afterCustom = ItemText(d, IDC_CONT_INTERVAL);
                                             Click(d, IDC_OK_PICTURE);
                                           });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(afterPreset, L"67");
  EXPECT_EQ(afterCustom, L"67");
  EXPECT_EQ(options.captureInterval, 67);
  EXPECT_EQ(IniLines(), std::vector<std::string>{"OPTION.CAPTURE_TIME=67"});
}

TEST_F(OptionDialogs, AnEmptyIntervalIsStoredEmptyAndReadsAsZero) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=1000\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                                           [&](HWND d) {
                                             wintest::SetItemText(d, IDC_CONT_INTERVAL, L"");
                                             Click(d, IDC_OK_PICTURE);
                                           });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(options.captureInterval, 0);
  EXPECT_EQ(IniLines(), std::vector<std::string>{"OPTION.CAPTURE_TIME="});
}

TEST_F(OptionDialogs, IntervalCancelAfterAPresetLeavesFileAndHolderAlone) {
  const std::string before = "[OPTION]\r\nCAPTURE_TIME=500\r\n";
  WriteIni(before);
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  for (int way = 0; way < 2; ++way) {
    const INT_PTR result =
        wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                          [&](HWND d) {
                            Click(d, IDC_CONT_1_PER_MINUTE);
                            if (way == 0)
                              Click(d, IDC_CANCEL_PICTURE);
                            else
                              SendMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0);
                          });
    EXPECT_EQ(result, IDCANCEL) << way;
    EXPECT_EQ(options.captureInterval, 500) << way;
    EXPECT_EQ(IniText(), before) << way;
  }
}

TEST_F(OptionDialogs, IntervalEnterAndEscapeGoToTheFocusedControl) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=500\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  bool openAfterKeys = false;
  std::wstring text;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                                           [&](HWND d) {
                                             HWND edit = GetDlgItem(d, IDC_CONT_INTERVAL);
                                             for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                                               PostMessageW(edit, WM_KEYDOWN, key, 0);
                                               PostMessageW(edit, WM_KEYUP, key, 0);
                                             }
                                             frame.WaitPostedHandled();
                                             openAfterKeys = IsWindowVisible(d) != FALSE;
                                             text = ItemText(d, IDC_CONT_INTERVAL);
                                             Click(d, IDC_OK_PICTURE);
                                           });
  EXPECT_TRUE(openAfterKeys);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(text, L"500");
}

TEST_F(OptionDialogs, IntervalDialogPlacesItsControlsAndLimitsTheSpin) {
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  RECT window = {};
  int low = -1, high = -1;
  std::wstring caption;
  std::string differences;
  LOGFONTW labelFont = {};
  wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                    [&](HWND d) {
                      wintest::HoldForScreenshot("continuous_options");
                      GetWindowRect(d, &window);
                      differences = wintest::ControlDifferences(
                          d, {
                                 // id                       x    y    width height text
                                 {IDC_CONT_SPIN, 114, 50, 15, -1},
                                 {IDC_CONT_INTERVAL, 19, -1, 105, -1},
                                 {IDC_CONT_1_PER_30_MINUTES, 255, 92, -1, -1},
                                 {IDC_OK_PICTURE, 195, 210, -1, -1},
                                 {IDC_CONT_HINT, -1, -1, -1, -1, L"1000ms = 1초, 연속 캡쳐 멈춤키 = ESC"},
                                 {IDC_CONT_1_PER_MINUTE, -1, -1, -1, -1, L"1분에1장"},
                             });
                      SendDlgItemMessageW(d, IDC_CONT_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                          reinterpret_cast<LPARAM>(&high));
                      caption = wintest::Text(d);
                      GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(d, IDC_CONT_LABEL, WM_GETFONT, 0, 0)),
                                 sizeof labelFont, &labelFont);
                      Click(d, IDC_CANCEL_PICTURE);
                    });
  EXPECT_EQ(window.right - window.left, 365);
  EXPECT_EQ(window.bottom - window.top, 275);
  EXPECT_EQ(differences, "");
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 30528);
  EXPECT_EQ(caption, L"연속캡쳐 Option");
  EXPECT_EQ(labelFont.lfWeight, 550);
}

TEST_F(OptionDialogs, IntervalSpinWritesPlainDigitsWithinItsRange) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=30527\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CaptureOptions options = ReadCaptureOptions();
  CContinuousOptionDlg dlg(options);
  std::wstring up1, up2;
  wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                    [&](HWND d) {
                      HWND spin = GetDlgItem(d, IDC_CONT_SPIN);
                      // An arrow press: the spin takes the edit's number, steps and writes it back.
                      for (std::wstring* out : {&up1, &up2}) {
                        SendMessageW(spin, WM_KEYDOWN, VK_UP, 0);
                        SendMessageW(spin, WM_KEYUP, VK_UP, 0);
                        *out = ItemText(d, IDC_CONT_INTERVAL);
                      }
                      Click(d, IDC_CANCEL_PICTURE);
                    });
  EXPECT_EQ(up1, L"30528");  // no thousands separator
  EXPECT_EQ(up2, L"30528");  // and never beyond the top of the range
}

}  // namespace
