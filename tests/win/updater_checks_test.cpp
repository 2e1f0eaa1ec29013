// The updater's machine checks with the network stood in for: the
// running-program list against mutexes this test holds, the history list
// against uninstall entries in both registry views, the working folder's
// clean-up, and the component tree's toggle and show messages.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "test_windows.h"
#include "updater/check_tree.h"
#include "updater/fetch.h"
#include "updater/update_system.h"

using namespace framlet::update;

namespace {

// Serves fixed texts by address; an address it does not know fails.
class TextFetcher final : public Fetcher {
 public:
  std::map<std::string, std::string> texts;
  std::vector<std::string> asked;
  bool Fetch(const std::string& url, const std::string& target, bool, const ProgressReport&) override {
    asked.push_back(url);
    auto found = texts.find(url);
    if (found == texts.end()) return false;
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, found->second.data(), static_cast<DWORD>(found->second.size()), &written, nullptr);
    CloseHandle(file);
    return true;
  }
};

std::string TempFolder() {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  std::string folder = std::string(base) + "fl_updater_checks\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

TEST(UpdaterChecks, RunningProgramListAgainstHeldMutexes) {
  const std::string folder = TempFolder();
  TextFetcher fetcher;
  fetcher.texts["m"] = "[COUNTER]\r\nNUM=3\r\n[CHECK1]\r\nMUTEX=\r\n[CHECK2]\r\nMUTEX=FlNobodyHoldsThis\r\n"
                       "[CHECK3]\r\nMUTEX=FlUpdaterChecksHeld\r\n";
  fetcher.texts["none"] = "[COUNTER]\r\nNUM=0\r\n[CHECK1]\r\nMUTEX=FlUpdaterChecksHeld\r\n";
  EXPECT_FALSE(ListedProgramRunning(fetcher, "m", folder));
  HANDLE held = CreateMutexA(nullptr, TRUE, "FlUpdaterChecksHeld");
  ASSERT_NE(held, nullptr);
  EXPECT_TRUE(ListedProgramRunning(fetcher, "m", folder));
  EXPECT_FALSE(ListedProgramRunning(fetcher, "none", folder));
  EXPECT_FALSE(ListedProgramRunning(fetcher, "unreachable", folder));
  CloseHandle(held);
  EXPECT_FALSE(ListedProgramRunning(fetcher, "m", folder));
  // The list stays for the next run.
  EXPECT_TRUE(Exists(folder + "mutex.ini"));
}

// A text value in the machine's 32-bit registry view, the key made as needed.
static void SetMachineValue32(const char* subkey, const char* name, const char* text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, 0, KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(lstrlenA(text) + 1));
  RegCloseKey(key);
}

TEST(UpdaterChecks, HistoryListInBothRegistryViews) {
  const std::string folder = TempFolder();
  const char* subkey = "SOFTWARE\\MicroSoft\\Windows\\CurrentVersion\\Uninstall\\FlUpdaterChecks";
  ASSERT_NO_FATAL_FAILURE(SetMachineValue32(subkey, "DisplayName", "Old Tool"));

  TextFetcher fetcher;
  auto entry = [](const char* root, const char* value) {
    return std::string("[COUNTER]\r\nNUM=1\r\n[CHECK1]\r\nHKEY=") + root +
           "\r\nREGPATH=FlUpdaterChecks\r\nREGNAME=DisplayName\r\nREGVALUE=" + value + "\r\n";
  };
  fetcher.texts["32"] = entry("HKLM", "Old Tool");
  fetcher.texts["case"] = entry("HKLM", "old tool");
  fetcher.texts["lower"] = entry("hklm", "Old Tool");  // selects the current user's root
  fetcher.texts["empty"] = entry("HKCU", "");          // missing value equals an empty one
  EXPECT_TRUE(ProgramInstalled(fetcher, "32", folder));
  EXPECT_FALSE(ProgramInstalled(fetcher, "case", folder));
  EXPECT_FALSE(ProgramInstalled(fetcher, "lower", folder));
  EXPECT_TRUE(ProgramInstalled(fetcher, "empty", folder));
  EXPECT_FALSE(ProgramInstalled(fetcher, "unreachable", folder));
  EXPECT_FALSE(Exists(folder + "History.ini"));
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, subkey, KEY_WOW64_32KEY, 0);
}

TEST(UpdaterChecks, DownTargetFolderInEitherRegistryView) {
  // A 32-bit program keeps its folder setting in the other view.
  const char* subkey = "SOFTWARE\\FlUpdaterChecksTarget";
  ASSERT_NO_FATAL_FAILURE(SetMachineValue32(subkey, "Folder", "C:\\Tools32"));
  Component row;
  row.regRoot = "HKLM";
  row.regPath = subkey;
  row.regValue = "Folder";
  std::string folder;
  EXPECT_TRUE(TargetFolderOf(row, folder));
  EXPECT_EQ(folder, "C:\\Tools32");
  row.regRoot = "HKCU";
  EXPECT_FALSE(TargetFolderOf(row, folder));
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, subkey, KEY_WOW64_32KEY, 0);
}

TEST(UpdaterChecks, WorkFolderEmptiedAndListDeleted) {
  const std::string folder = TempFolder();
  UpdatePaths paths{folder, folder + "temp\\", folder + "updatelist.ini"};
  CreateDirectoryA(paths.work.c_str(), nullptr);
  CreateDirectoryA((paths.work + "empty").c_str(), nullptr);
  CreateDirectoryA((paths.work + "full").c_str(), nullptr);
  for (const std::string& file : {paths.work + "a_framlet.exe", paths.work + "full\\x", paths.list,
                                  folder + "mutex.ini"}) {
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  }
  EmptyWorkFolder(paths);
  EXPECT_FALSE(Exists(paths.work + "a_framlet.exe"));
  EXPECT_FALSE(Exists(paths.work + "empty"));
  EXPECT_TRUE(Exists(paths.work + "full\\x"));  // removal is not recursive
  EXPECT_FALSE(Exists(paths.list));
  EXPECT_TRUE(Exists(folder + "mutex.ini"));
  EmptyWorkFolder(UpdatePaths{});  // nothing determined: nothing touched
}

TEST(UpdaterChecks, TreeTogglesByBoxAndTellsEveryRowOfTheName) {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  // The tree's parent records the toggle and show messages it is told.
  std::vector<std::pair<UINT, WPARAM>> told;
  testwin::Look ownerLook = testwin::Ordinary(0, 0, 300, 300, L"tree owner");
  ownerLook.visible = false;
  ownerLook.handler = [&told](HWND, UINT message, WPARAM wParam, LPARAM, LRESULT* result) {
    if (message != kToggleRowMessage && message != kShowRowMessage) return false;
    told.push_back({message, wParam});
    *result = 0;
    return true;
  };
  testwin::Window owner(ownerLook);
  HWND parent = owner.Hwnd();
  ASSERT_NE(parent, nullptr);
  HWND treeWindow = CreateWindowW(WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_LINESATROOT, 0, 0,
                                  280, 260, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  HIMAGELIST states = ImageList_Create(14, 14, ILC_COLOR24, 5, 0);
  CCheckTreeCtrl tree;
  tree.Attach(treeWindow, parent, states);
  HTREEITEM fixed = tree.Add(nullptr, L"고정", 0, CCheckTreeCtrl::Fixed);
  HTREEITEM first = tree.Add(nullptr, L"같은 이름", 2, CCheckTreeCtrl::Ticked);
  tree.Add(nullptr, L"같은 이름", 4, CCheckTreeCtrl::Ticked);
  HTREEITEM other = tree.Add(nullptr, L"다른 것", 3, CCheckTreeCtrl::Ticked);

  auto clickBox = [&](HTREEITEM item) {
    RECT rect{};
    *reinterpret_cast<HTREEITEM*>(&rect) = item;
    SendMessageW(treeWindow, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM(rect.left - 8, (rect.top + rect.bottom) / 2);
    // The tree tracks the button after a press until it is released: the
    // release waits in the queue, so the tracking ends at once.
    PostMessageW(treeWindow, WM_LBUTTONUP, 0, at);
    SendMessageW(treeWindow, WM_LBUTTONDOWN, MK_LBUTTON, at);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  };
  clickBox(fixed);
  EXPECT_EQ(tree.StateOf(fixed), CCheckTreeCtrl::Fixed);
  EXPECT_TRUE(told.empty());
  clickBox(first);
  EXPECT_EQ(tree.StateOf(first), CCheckTreeCtrl::Unticked);
  EXPECT_EQ(tree.StateOf(other), CCheckTreeCtrl::Ticked);
  const std::vector<std::pair<UINT, WPARAM>> toggled = {{kToggleRowMessage, 2}, {kToggleRowMessage, 4}};
  std::vector<std::pair<UINT, WPARAM>> toggles;
  for (const auto& message : told) {
    if (message.first == kToggleRowMessage) toggles.push_back(message);
  }
  EXPECT_EQ(toggles, toggled);
  told.clear();
  tree.OnSelectionChanging(other);
  EXPECT_EQ(told, (std::vector<std::pair<UINT, WPARAM>>{{kShowRowMessage, 3}}));
  owner.Destroy();
  ImageList_Destroy(states);
}
