// The options dialog and the continuous-capture options, opened modally over a
// stand-in frame and worked from a second thread: what OK writes and in which
// order, that Cancel writes nothing, how stored values open, the holders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/command_ids.h"
#include "core/settings.h"
#include "dialog_test_util.h"
#include "win_test_util.h"
#include "windows/continuous_option_dlg.h"
#include "windows/option_dlg.h"

using namespace framlet;
using wintest::Checked;
using wintest::Click;
using wintest::ItemText;

namespace {

class OptionDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    wintest::InitControls();
    settings::SetFilePathForTesting(Ini());
  }
  void TearDown() override { settings::SetFilePathForTesting(""); }

  std::string Ini() const { return folder_.File("framlet.ini"); }
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

  wintest::TempFolder folder_{"options"};
};

// ---- Options dialog ------------------------------------------------------

TEST_F(OptionDialogs, HolderReadsTheThreeCaptureSettingsAsStored) {
  {
    COptionDlg holder;  // no file: defaults
    EXPECT_FALSE(holder.autoSave);
    EXPECT_TRUE(holder.captureReview);
    EXPECT_EQ(holder.jpegQuality, 100);
    EXPECT_FALSE(holder.IsOpen());
  }
  WriteIni("[OPTION]\r\nAUTO_SAVE=True\r\nCAPTURE_REVIEW=yes\r\nJPEG_QUALITY=75x\r\n");
  COptionDlg holder;
  EXPECT_TRUE(holder.autoSave);
  EXPECT_FALSE(holder.captureReview);  // only the word true counts
  EXPECT_EQ(holder.jpegQuality, 75);
  WriteIni("[OPTION]\r\nJPEG_QUALITY=250\r\n");
  EXPECT_EQ(COptionDlg().jpegQuality, 250);  // the holder takes the number as stored
}

TEST_F(OptionDialogs, OkWritesEveryKeyInOrderWithTheClampAndTheFramePlacement) {
  wintest::FakeFrame frame(100, 80, 700, 500, WS_EX_TOPMOST);
  COptionDlg dlg;
  std::wstring caption;
  bool found = false;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
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
  // The holder carries the new values at once; the frame left topmost.
  EXPECT_TRUE(dlg.autoSave);
  EXPECT_FALSE(dlg.captureReview);
  EXPECT_EQ(dlg.jpegQuality, 100);
  EXPECT_FALSE(frame.Topmost());
  EXPECT_FALSE(dlg.IsOpen());
}

TEST_F(OptionDialogs, OkWithPositionMemoryOffEmptiesThePlacementAndMakesTheFrameTopmost) {
  struct Case {
    const wchar_t* typed;
    const char* stored;
    int quality;
  };
  const Case cases[] = {{L"0", "1", 1}, {L"abc", "1", 1}, {L"-5", "1", 1}, {L"85", "85", 85}, {L"75x", "75x", 75}};
  for (const Case& c : cases) {
    DeleteFileA(Ini().c_str());
    wintest::FakeFrame frame(10, 20, 836, 721);
    COptionDlg dlg;
    wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
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
    EXPECT_EQ(lines[6], "AUTOPOS_HISTORY.LEFT=");
    EXPECT_EQ(lines[7], "AUTOPOS_HISTORY.TOP=");
    EXPECT_EQ(lines[8], "AUTOPOS_HISTORY.WIDTH=");
    EXPECT_EQ(lines[9], "AUTOPOS_HISTORY.HEIGHT=");
    EXPECT_EQ(dlg.jpegQuality, c.quality);
    EXPECT_TRUE(frame.Topmost());
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
    wintest::FakeFrame frame(0, 0, 836, 721, WS_EX_TOPMOST);
    COptionDlg dlg;
    bool found = false;
    const DWORD start = GetTickCount();
    const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
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
    EXPECT_FALSE(dlg.autoSave) << i;
    EXPECT_EQ(dlg.jpegQuality, 90) << i;
    EXPECT_TRUE(frame.Topmost()) << i;
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
    wintest::FakeFrame frame(0, 0, 836, 721);
    COptionDlg dlg;
    bool autoSave = false, remember = true, alwaysTop = false, review = false;
    std::wstring quality, folder;
    wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
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
  wintest::FakeFrame frame(0, 0, 836, 721);
  COptionDlg dlg;
  RECT window = {}, ok = {}, cancel = {}, remember = {}, folder = {}, browse = {};
  std::wstring texts[5];
  LOGFONTW rememberFont = {}, reviewFont = {};
  int spinLow = -1, spinHigh = -1;
  wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
                    [&](HWND d) {
                      wintest::HoldForScreenshot("options");
                      GetWindowRect(d, &window);
                      ok = wintest::ChildRect(d, IDC_OK_PICTURE);
                      cancel = wintest::ChildRect(d, IDC_CANCEL_PICTURE);
                      remember = wintest::ChildRect(d, IDC_OPT_REMEMBER_POSITION);
                      folder = wintest::ChildRect(d, IDC_OPT_FOLDER);
                      browse = wintest::ChildRect(d, IDC_OPT_BROWSE);
                      texts[0] = ItemText(d, IDC_OPT_REMEMBER_POSITION);
                      texts[1] = ItemText(d, IDC_OPT_AUTO_SAVE);
                      texts[2] = ItemText(d, IDC_OPT_FOLDER_LABEL);
                      texts[3] = ItemText(d, IDC_OK_PICTURE);  // picture buttons have no caption
                      texts[4] = ItemText(d, IDC_OPT_OPEN_FOLDER);
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
  EXPECT_EQ(ok.left, 213);
  EXPECT_EQ(ok.top, 250);
  EXPECT_EQ(ok.right - ok.left, 75);
  EXPECT_EQ(ok.bottom - ok.top, 25);
  EXPECT_EQ(cancel.left, 294);
  EXPECT_EQ(remember.left, 19);
  EXPECT_EQ(remember.top, 33);
  EXPECT_EQ(remember.right - remember.left, 95);
  EXPECT_EQ(folder.left, 30);
  EXPECT_EQ(folder.top, 205);
  EXPECT_EQ(folder.right - folder.left, 230);
  EXPECT_EQ(browse.left, 270);
  EXPECT_EQ(texts[0], L"좌표 자동기억");
  EXPECT_EQ(texts[1], L"파일명을 묻지 않고 자동 저장");
  EXPECT_EQ(texts[2], L"저장폴더");
  EXPECT_EQ(texts[3], L"");
  EXPECT_EQ(texts[4], L"열기");
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
    wintest::FakeFrame frame(0, 0, 836, 721);
    COptionDlg dlg;
    bool pickerShown = false;
    std::wstring pickerOwnerCheck, folderAfter;
    wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"Option", frame.Hwnd(),
                      [&](HWND d) {
                        // Posted: the picker runs its own modal loop inside the click.
                        PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_OPT_BROWSE, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_OPT_BROWSE)));
                        HWND picker = wintest::WaitDialog(nullptr, d, 8000);
                        pickerShown = picker != nullptr;
                        if (picker) {
                          Sleep(500);
                          if (confirm) wintest::HoldForScreenshot("folder_picker");
                          PostMessageW(picker, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
                          const DWORD start = GetTickCount();
                          while (IsWindow(picker) && GetTickCount() - start < 5000) Sleep(50);
                        }
                        Sleep(200);
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

TEST_F(OptionDialogs, IntervalHolderReadsTheLeadingNumber) {
  EXPECT_EQ(CContinuousOptionDlg().captureInterval, 1000);
  WriteIni("[OPTION]\r\nCAPTURE_TIME=250ms\r\n");
  EXPECT_EQ(CContinuousOptionDlg().captureInterval, 250);
  WriteIni("[OPTION]\r\nCAPTURE_TIME=\r\n");
  EXPECT_EQ(CContinuousOptionDlg().captureInterval, 0);
}

TEST_F(OptionDialogs, IntervalDialogOpensOnTheStoredPreset) {
  const int radios[] = {IDC_CONT_CUSTOM,          IDC_CONT_15_PER_SECOND, IDC_CONT_30_PER_SECOND,
                        IDC_CONT_1_PER_SECOND,    IDC_CONT_1_PER_MINUTE,  IDC_CONT_1_PER_10_MINUTES,
                        IDC_CONT_1_PER_30_MINUTES};
  struct Case {
    const char* stored;
    int radio;
  };
  const Case cases[] = {{"60000", IDC_CONT_1_PER_MINUTE},
                        {"500", IDC_CONT_CUSTOM},
                        {"060000", IDC_CONT_CUSTOM},
                        {"1800000", IDC_CONT_1_PER_30_MINUTES},
                        {nullptr, IDC_CONT_1_PER_SECOND}};
  for (const Case& c : cases) {
    if (c.stored)
      WriteIni(std::string("[OPTION]\r\nCAPTURE_TIME=") + c.stored + "\r\n");
    else
      DeleteFileA(Ini().c_str());
    wintest::FakeFrame frame(0, 0, 836, 721);
    CContinuousOptionDlg dlg;
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
  CContinuousOptionDlg dlg;
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
  EXPECT_EQ(dlg.captureInterval, 67);
  EXPECT_EQ(IniLines(), std::vector<std::string>{"OPTION.CAPTURE_TIME=67"});
}

TEST_F(OptionDialogs, AnEmptyIntervalIsStoredEmptyAndReadsAsZero) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=1000\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CContinuousOptionDlg dlg;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                                           [&](HWND d) {
                                             wintest::SetItemText(d, IDC_CONT_INTERVAL, L"");
                                             Click(d, IDC_OK_PICTURE);
                                           });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.captureInterval, 0);
  EXPECT_EQ(IniLines(), std::vector<std::string>{"OPTION.CAPTURE_TIME="});
}

TEST_F(OptionDialogs, IntervalCancelAfterAPresetLeavesFileAndHolderAlone) {
  const std::string before = "[OPTION]\r\nCAPTURE_TIME=500\r\n";
  WriteIni(before);
  wintest::FakeFrame frame(0, 0, 836, 721);
  CContinuousOptionDlg dlg;
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
    EXPECT_EQ(dlg.captureInterval, 500) << way;
    EXPECT_EQ(IniText(), before) << way;
  }
}

TEST_F(OptionDialogs, IntervalEnterAndEscapeGoToTheFocusedControl) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=500\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CContinuousOptionDlg dlg;
  bool openAfterKeys = false;
  std::wstring text;
  const INT_PTR result = wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                                           [&](HWND d) {
                                             HWND edit = GetDlgItem(d, IDC_CONT_INTERVAL);
                                             for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                                               PostMessageW(edit, WM_KEYDOWN, key, 0);
                                               PostMessageW(edit, WM_KEYUP, key, 0);
                                             }
                                             Sleep(500);
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
  CContinuousOptionDlg dlg;
  RECT window = {}, spin = {}, edit = {}, thirtyMinutes = {}, ok = {};
  int low = -1, high = -1;
  std::wstring caption, hint, radio;
  LOGFONTW labelFont = {};
  wintest::RunModal([&] { return dlg.DoModal(frame.Hwnd()); }, L"연속캡쳐 Option", frame.Hwnd(),
                    [&](HWND d) {
                      wintest::HoldForScreenshot("continuous_options");
                      GetWindowRect(d, &window);
                      spin = wintest::ChildRect(d, IDC_CONT_SPIN);
                      edit = wintest::ChildRect(d, IDC_CONT_INTERVAL);
                      thirtyMinutes = wintest::ChildRect(d, IDC_CONT_1_PER_30_MINUTES);
                      ok = wintest::ChildRect(d, IDC_OK_PICTURE);
                      SendDlgItemMessageW(d, IDC_CONT_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                                          reinterpret_cast<LPARAM>(&high));
                      caption = wintest::Text(d);
                      hint = ItemText(d, IDC_CONT_HINT);
                      radio = ItemText(d, IDC_CONT_1_PER_MINUTE);
                      GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(d, IDC_CONT_LABEL, WM_GETFONT, 0, 0)),
                                 sizeof labelFont, &labelFont);
                      Click(d, IDC_CANCEL_PICTURE);
                    });
  EXPECT_EQ(window.right - window.left, 365);
  EXPECT_EQ(window.bottom - window.top, 275);
  EXPECT_EQ(spin.left, 114);
  EXPECT_EQ(spin.top, 50);
  EXPECT_EQ(spin.right - spin.left, 15);
  EXPECT_EQ(edit.left, 19);
  EXPECT_EQ(edit.right - edit.left, 105);
  EXPECT_EQ(thirtyMinutes.left, 255);
  EXPECT_EQ(thirtyMinutes.top, 92);
  EXPECT_EQ(ok.left, 195);
  EXPECT_EQ(ok.top, 210);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 30528);
  EXPECT_EQ(caption, L"연속캡쳐 Option");
  EXPECT_EQ(hint, L"1000ms = 1초, 연속 캡쳐 멈춤키 = ESC");
  EXPECT_EQ(radio, L"1분에1장");
  EXPECT_EQ(labelFont.lfWeight, 550);
}

TEST_F(OptionDialogs, IntervalSpinWritesPlainDigitsWithinItsRange) {
  WriteIni("[OPTION]\r\nCAPTURE_TIME=30527\r\n");
  wintest::FakeFrame frame(0, 0, 836, 721);
  CContinuousOptionDlg dlg;
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
