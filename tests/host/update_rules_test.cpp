// The updater's rules: launch mode from the arguments, list numbers, the
// version and hold arithmetic, the module question and its byte limit, the
// component table and its limits, offers, the tree's toggle, progress,
// download acceptance and the names a list may give.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "updater/update_rules.h"

namespace framlet::update {
namespace {

TEST(UpdateLaunch, OptionLetterComesFromTheArgumentsOnly) {
  struct Case {
    const char* commandLine;
    LaunchMode mode;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Framlet\\framletup.exe", LaunchMode::Normal},
      {"\"C:\\Program Files\\Framlet\\framletup.exe\"", LaunchMode::Normal},
      {"\"C:\\Program Files\\Framlet\\framletup.exe\" -o", LaunchMode::O},
      {"\"C:\\Program Files\\Framlet\\framletup.exe\" -u", LaunchMode::U},
      {"framletup.exe -O", LaunchMode::Normal},
      {"framletup.exe -U", LaunchMode::Normal},
      {"framletup.exe -x -o", LaunchMode::Normal},
      {"framletup.exe /o", LaunchMode::Normal},
      {"framletup.exe -", LaunchMode::Normal},
      {"framletup.exe -uninstall", LaunchMode::U},
      // A hyphen in the program's own path never picks a mode.
      {"\"C:\\my-u\\framletup.exe\"", LaunchMode::Normal},
      {"C:\\my-u\\framletup.exe", LaunchMode::Normal},
      {"\"C:\\my-u\\framletup.exe\" -o", LaunchMode::O},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LaunchModeFromArguments(ArgumentsOf(c.commandLine)), c.mode) << c.commandLine;
  }
}

TEST(UpdateNumbers, ListIntAndByteCuts) {
  EXPECT_EQ(ListInt(""), 0);
  EXPECT_EQ(ListInt("  42abc"), 42);
  EXPECT_EQ(ListInt("-7"), -7);
  EXPECT_EQ(ListInt("+3"), 3);
  EXPECT_EQ(ListInt("abc"), 0);
  EXPECT_EQ(ListInt("99999999999999"), 2147483647);
  EXPECT_EQ(ListInt("-99999999999999"), -2147483647 - 1);

  // 259 bytes at most, never half a double-byte character.
  std::string ascii(300, 'a');
  EXPECT_EQ(CutToBytes(ascii).size(), 259u);
  std::string korean;
  for (int i = 0; i < 150; ++i) korean += "\xB0\xA1";  // 300 bytes
  EXPECT_EQ(CutToBytes(korean).size(), 258u);
  std::string mixed = "a" + korean;  // 'a' then pairs: 259 fits exactly
  EXPECT_EQ(CutToBytes(mixed).size(), 259u);
  EXPECT_EQ(CutToBytes("short"), "short");
}

TEST(UpdateVersion, KindFromListAndRegistry) {
  EXPECT_EQ(DecideUpdateKind(2, 1, 0, 1), UpdateKind::Program);
  EXPECT_EQ(DecideUpdateKind(2, 1, 9, 1), UpdateKind::Program);
  // Equal version: a greater module level gives a module update.
  EXPECT_EQ(DecideUpdateKind(5, 5, 3, 2), UpdateKind::Module);
  EXPECT_EQ(DecideUpdateKind(5, 5, 2, 2), UpdateKind::None);
  // Missing "ver" reads as 1: VERSION 1 is not newer.
  EXPECT_EQ(DecideUpdateKind(1, 1, 1, 1), UpdateKind::None);
  // An empty list reads every value as 0.
  EXPECT_EQ(DecideUpdateKind(0, 1, 0, 1), UpdateKind::None);
}

TEST(UpdateHold, DatesAndPostponement) {
  EXPECT_EQ(NextHoldDate(20130125, 5), 20130130);
  EXPECT_EQ(NextHoldDate(20130130, 5), 20130205);
  EXPECT_EQ(NextHoldDate(20131228, 7), 20131305);
  EXPECT_EQ(NextHoldDate(20130131, 0), 20130201);
  EXPECT_FALSE(HoldPostpones(20131305, 20140101));
  EXPECT_TRUE(HoldPostpones(20131305, 20131231));
  EXPECT_FALSE(HoldPostpones(20130207, 20130207));  // equal passes
  EXPECT_FALSE(HoldPostpones(1, 20130207));         // missing value
}

TEST(UpdateQuestion, FiveLinesJoinedAndCut) {
  const std::string lines[5] = {"one", "two", "", "four", "five"};
  EXPECT_EQ(ModuleQuestion(lines), "one\ntwo\n\nfour\nfive");
  const std::string empty[5] = {};
  EXPECT_EQ(ModuleQuestion(empty), "\n\n\n\n");
  std::string longLine;
  for (int i = 0; i < 60; ++i) longLine += "\xB0\xA1";
  const std::string big[5] = {longLine, longLine, longLine, longLine, longLine};
  std::string q = ModuleQuestion(big);
  EXPECT_LE(q.size(), 259u);
  EXPECT_EQ(CutToBytes(q), q);  // ends on a character boundary
}

using Ini = std::map<std::string, std::map<std::string, std::string>>;
ProfileLookup LookupOf(const Ini& ini) {
  return [&ini](const char* section, const char* key) -> std::string {
    auto s = ini.find(section);
    if (s == ini.end()) return "";
    auto k = s->second.find(key);
    return k == s->second.end() ? "" : k->second;
  };
}

TEST(UpdateList, HeaderAndComponentTable) {
  Ini ini;
  ini["UPDATE"] = {{"VERSION", "7"}, {"MODULE", "12x"}, {"MODULETEXT1", "a"}, {"MODULETEXT2", "b"},
                   {"OPTION", "1"}, {"HOLDDATA", "5"}, {"FILENUM", "4"}};
  ini["UPFILE1"] = {{"TITLE", "T"}, {"SUBTITLE", "S"}, {"NAME", "plain"}, {"NAME1", "mod1"},
                    {"DOWNFILEURL", "http://x/m1"}, {"DOWNFILENAME", "m1.dat"}, {"STATE", "DOWN"}};
  ini["UPFILE2"] = {{"NAME1", "mod2"}, {"DOWNFILENAME", "..\\evil.exe"}};
  ini["FILE1"] = {{"NAME", "one"}, {"DOWNFILENAME", "abc^2"}, {"CHECK", "1"}};
  ini["FILE2"] = {{"NAME", "two"}, {"DOWNFILENAME", "abc"}};
  ini["FILE3"] = {{"NAME", "three"}, {"DOWNFILENAME", "x^y"}, {"CHECK", "2"}};
  ini["FILE4"] = {{"NAME", "four"}, {"DOWNFILENAME", "viewer^2013^b"}};
  auto lookup = LookupOf(ini);

  UpdateList list = ReadUpdateHeader(lookup);
  EXPECT_EQ(list.version, 7);
  EXPECT_EQ(list.module, "12x");  // kept as read
  EXPECT_EQ(list.moduleQuestion, "a\nb\n\n\n");
  EXPECT_EQ(list.option, 1);
  EXPECT_EQ(list.holdDays, 5);

  ReadComponentTable(lookup, UpdateKind::Module, "http://h", "C:\\P\\", list);
  ASSERT_EQ(list.rows.size(), 6u);
  EXPECT_EQ(list.title, "T");
  EXPECT_EQ(list.rows[0].name, "mod1");
  EXPECT_EQ(list.rows[0].localPath, "C:\\P\\m1.dat");
  EXPECT_EQ(list.rows[0].downloadUrl, "http://x/m1");
  EXPECT_EQ(list.rows[1].localPath, "");  // an unsafe name gets no path
  EXPECT_EQ(list.rows[1].selected, 1);
  EXPECT_EQ(list.rows[2].downloadUrl, "http://h/bundle_2010/framlet/update/abc/abc^2.exe");
  EXPECT_EQ(list.rows[3].downloadUrl, "http://h/bundle_2010/framlet/update//abc.exe");
  EXPECT_EQ(list.rows[4].downloadUrl, "http://h/bundle_2010/framlet/update/x/x^y.exe");
  EXPECT_EQ(list.rows[5].downloadUrl, "http://h/bundle_2010/framlet/update/viewer/viewer^2013^b.exe");  // first '^'
  EXPECT_EQ(list.rows[3].selected, 0);
  EXPECT_EQ(list.rows[4].selected, 2);

  // Update kind none: the plain key set, no download.
  ReadComponentTable(lookup, UpdateKind::None, "http://h", "C:\\P\\", list);
  EXPECT_EQ(list.rows[0].name, "plain");
  EXPECT_EQ(list.rows[0].downloadUrl, "");
  EXPECT_EQ(list.rows[0].localPath, "");

  // FILENUM is clamped to the table; negative reads as none.
  ini["UPDATE"]["FILENUM"] = "500";
  ReadComponentTable(lookup, UpdateKind::None, "http://h", "C:\\P\\", list);
  EXPECT_EQ(list.rows.size(), 20u);
  ini["UPDATE"]["FILENUM"] = "-3";
  ReadComponentTable(lookup, UpdateKind::None, "http://h", "C:\\P\\", list);
  EXPECT_EQ(list.rows.size(), 2u);
}

TEST(UpdateList, PlainFileNames) {
  for (const char* good : {"setup.exe", "abc^2", "a b", "\xB0\xA1\xB3\xAA.exe", "\x81\x41\xFE\xFE.dll"}) {
    EXPECT_TRUE(IsPlainFileName(good)) << good;
  }
  for (const char* bad : {"", ".", "..", "..\\x.exe", "a/b", "C:x", "C:\\Windows\\x.exe",
                          "\\\\server\\x", "a\tb", "x.", "x ", "a*b", "\xB0",
                          "\x80\x5C" "x",   // 0x80 leads no character: the 0x5C after it is a separator
                          "\x81\x5C" "x", "\x81\x7F" "x",  // no character of the code page ends in these
                          "\xB0:x.dll", "\xB0/x", "\xB0.", "\xB0\t"}) {  // nor does 0xB0 pair with these
    EXPECT_FALSE(IsPlainFileName(bad)) << bad;
  }
}

UpdateList ListWithOptional(int count, const char* state) {
  UpdateList list;
  list.rows.resize(2);
  for (int i = 0; i < count; ++i) {
    Component row;
    row.name = "c" + std::to_string(i);
    row.fileName = "f" + std::to_string(i);
    row.state = state;
    row.selected = 1;
    list.rows.push_back(row);
  }
  return list;
}

TEST(UpdateOffers, CapProbesAndPaths) {
  OfferProbes none;
  none.programInstalled = [](const std::string&) { return false; };
  none.desktopFolder = [](std::string& folder) {
    folder = "C:\\Desk";
    return true;
  };
  none.fileExists = [](const std::string& path) { return path == "C:\\Desk\\f0"; };
  none.targetFolder = [](const Component&, std::string& folder) {
    folder = "D:\\Tools";
    return true;
  };
  // Seven rows: the first five are offered, the other two cleared.
  UpdateList list = ListWithOptional(7, "SETUP");
  EXPECT_TRUE(PrepareOffers(list, "C:\\P\\temp\\", none));
  int offered = 0;
  for (size_t i = 2; i < list.rows.size(); ++i) offered += list.rows[i].selected != 0;
  EXPECT_EQ(offered, 5);
  EXPECT_EQ(list.rows[6].selected, 1);
  EXPECT_EQ(list.rows[7].selected, 0);
  EXPECT_EQ(list.rows[8].selected, 0);
  EXPECT_EQ(list.rows[2].localPath, "C:\\P\\temp\\f0_framlet.exe");

  // Rows that do not qualify do not count towards the cap.
  list = ListWithOptional(7, "SETUP");
  list.rows[2].selected = 0;
  list.rows[3].fileName = "..\\..\\evil";
  OfferProbes installed = none;
  installed.programInstalled = [](const std::string&) { return true; };
  EXPECT_TRUE(PrepareOffers(list, "W\\", none));
  EXPECT_EQ(list.rows[3].selected, 0);
  EXPECT_EQ(list.rows[3].localPath, "");
  EXPECT_EQ(list.rows[8].selected, 1);  // fifth that qualifies

  list = ListWithOptional(2, "SETUP");
  EXPECT_FALSE(PrepareOffers(list, "W\\", installed));
  // An icon is placed on the desktop under its own name, where the next
  // run's probe finds it; one already there, or no readable desktop, is not offered.
  list = ListWithOptional(2, "ICON");
  EXPECT_TRUE(PrepareOffers(list, "W\\", none));
  EXPECT_EQ(list.rows[2].selected, 0);
  EXPECT_EQ(list.rows[3].localPath, "C:\\Desk\\f1");
  OfferProbes noDesktop = none;
  noDesktop.desktopFolder = [](std::string&) { return false; };
  list = ListWithOptional(2, "ICON");
  EXPECT_FALSE(PrepareOffers(list, "W\\", noDesktop));

  list = ListWithOptional(1, "DOWN");
  EXPECT_TRUE(PrepareOffers(list, "W\\", none));
  EXPECT_EQ(list.rows[2].localPath, "D:\\Tools\\f0.exe");
  OfferProbes noFolder = none;
  noFolder.targetFolder = [](const Component&, std::string&) { return false; };
  list = ListWithOptional(1, "DOWN");
  EXPECT_FALSE(PrepareOffers(list, "W\\", noFolder));

  list = ListWithOptional(1, "setup");  // state words are exact
  EXPECT_FALSE(PrepareOffers(list, "W\\", none));
}

TEST(UpdateInstall, ToggleProgressAcceptanceAndTexts) {
  EXPECT_EQ(ToggledSelection(0, 1), 1);
  EXPECT_EQ(ToggledSelection(1, 1), 1);
  EXPECT_EQ(ToggledSelection(2, 1), 0);
  EXPECT_EQ(ToggledSelection(2, 0), 1);
  EXPECT_EQ(ToggledSelection(5, 2), 1);

  EXPECT_EQ(ProgressPercent(0, 0), 0);
  EXPECT_EQ(ProgressPercent(50, 0), 0);
  EXPECT_EQ(ProgressPercent(1, 3), 33);
  EXPECT_EQ(ProgressPercent(2, 3), 66);
  EXPECT_EQ(ProgressPercent(3, 3), 100);
  EXPECT_EQ(ProgressPercent(5000000000ull, 5000000000ull), 100);
  EXPECT_EQ(ProgressPercent(9, 3), 100);

  EXPECT_TRUE(DownloadAccepted(200, 4, 4, true, "MZab"));
  EXPECT_TRUE(DownloadAccepted(200, -1, 4, false, "text"));
  EXPECT_FALSE(DownloadAccepted(404, -1, 4, false, "text"));
  EXPECT_FALSE(DownloadAccepted(500, 4, 4, true, "MZab"));
  EXPECT_FALSE(DownloadAccepted(200, 10, 4, true, "MZab"));  // cut short
  EXPECT_FALSE(DownloadAccepted(200, 4, 4, true, "<htm"));   // not a program
  EXPECT_FALSE(DownloadAccepted(200, 1, 1, true, "M"));
  // Another scheme has no status to check; an HTTP answer without one fails.
  EXPECT_TRUE(DownloadAccepted(kNotHttp, -1, 4, true, "MZab"));
  EXPECT_FALSE(DownloadAccepted(0, -1, 4, false, "text"));
  EXPECT_FALSE(DownloadAccepted(kNotHttp, -1, 4, true, "<htm"));
  for (const char* http : {"http://h/x", "HTTPS://h/x", "Http://h"}) EXPECT_TRUE(IsHttpAddress(http)) << http;
  for (const char* other : {"ftp://h/x", "file:///C:/x", "http:/h", "xhttp://h", ""}) {
    EXPECT_FALSE(IsHttpAddress(other)) << other;
  }

  EXPECT_EQ(ProgressLine(L"이름"), L"이름설치을 진행중입니다.");
  EXPECT_EQ(LogLine(L"이름", true), L"이름 설치를 완료 하였습니다. \r\n\r\n");
  EXPECT_EQ(LogLine(L"이름", false), L"이름 설치에 실패하였습니다. \r\n\r\n");
  EXPECT_TRUE(WriteModuleLevel(UpdateKind::Module, true));
  EXPECT_FALSE(WriteModuleLevel(UpdateKind::Module, false));
  EXPECT_FALSE(WriteModuleLevel(UpdateKind::None, true));

  EXPECT_TRUE(MutexSaysRunning(true, 0));
  EXPECT_FALSE(MutexSaysRunning(false, 2));
  EXPECT_TRUE(MutexSaysRunning(false, 5));  // access denied: someone holds it
}

TEST(UpdateLaunch, OnlyAModemOrNetworkConnectionCounts) {
  EXPECT_TRUE(ConnectionUsable(true, 0x02));
  EXPECT_TRUE(ConnectionUsable(true, 0x01));
  EXPECT_TRUE(ConnectionUsable(true, 0x12));  // a network, remote access installed (Wine's answer here)
  EXPECT_TRUE(ConnectionUsable(true, 0x05));  // a modem behind a proxy
  EXPECT_FALSE(ConnectionUsable(true, 0x04));  // a proxy alone
  EXPECT_FALSE(ConnectionUsable(true, 0x40));  // configured, not connected
  EXPECT_FALSE(ConnectionUsable(true, 0));
  EXPECT_FALSE(ConnectionUsable(false, 0x02));  // the call failed, whatever it left in the flags
}

TEST(UpdateProbes, ListCountsAreClamped) {
  EXPECT_EQ(ProbeCount("99999999999"), kMaxProbeEntries);
  EXPECT_EQ(ProbeCount("2147483647"), kMaxProbeEntries);
  EXPECT_EQ(ProbeCount("101"), kMaxProbeEntries);
  EXPECT_EQ(ProbeCount("100"), 100);
  EXPECT_EQ(ProbeCount(" 7x"), 7);
  EXPECT_EQ(ProbeCount("-5"), 0);
  EXPECT_EQ(ProbeCount(""), 0);
}

TEST(UpdateVersion, InstalledLevelOfTwoAccounts) {
  // The installing account has both; another account only the machine's.
  EXPECT_EQ(InstalledLevel(7, 7, 1), 7);
  EXPECT_EQ(InstalledLevel(std::nullopt, 7, 1), 7);
  EXPECT_EQ(InstalledLevel(5, std::nullopt, 1), 5);
  EXPECT_EQ(InstalledLevel(std::nullopt, std::nullopt, 1), 1);
  // A module update written for one account, a newer release for the machine.
  EXPECT_EQ(InstalledLevel(3, 2, 1), 3);
  EXPECT_EQ(InstalledLevel(5, 8, 1), 8);
}

TEST(UpdateSignature, SignedUpdaterRunsOnlyItsOwnSignersInstallers) {
  const Signature unsigned_;
  const Signature ours{true, "certificate A"};
  const Signature theirs{true, "certificate B"};
  const Signature broken{false, "certificate A"};  // tampered after signing
  struct Case {
    Signature updater, installer;
    bool runs;
  };
  const Case cases[] = {
      {unsigned_, unsigned_, true}, {unsigned_, theirs, true}, {broken, unsigned_, true},
      {ours, ours, true},           {ours, unsigned_, false},  {ours, theirs, false},
      {ours, broken, false},        {ours, Signature{true, ""}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InstallerMayRun(c.updater, c.installer), c.runs)
        << c.updater.valid << c.updater.signer << " / " << c.installer.valid << c.installer.signer;
  }
}

}  // namespace
}  // namespace framlet::update
