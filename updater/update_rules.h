#pragma once
// The updater's decisions, kept apart from the window code: the launch mode,
// number reading, the version and hold arithmetic, the module question, the
// component table read from the update list, the offer rules, the tree's
// toggle, download progress and acceptance, and the names the list may give.
// Texts from the list are bytes in code page 949.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framlet::update {

// ---- Start-up --------------------------------------------------------------

enum class LaunchMode { Normal, O, U };

// The arguments of a full command line: what follows the program path, which
// is either quoted or runs to the first blank.
std::string_view ArgumentsOf(std::string_view commandLine);

// The option letter is the character after the first '-' of the arguments
// (never of the program path, so a folder named "my-u" changes nothing):
// 'o' and 'u' give their modes, anything else (capitals included) is normal.
LaunchMode LaunchModeFromArguments(std::string_view arguments);

// The connection test of the start-up: the system's answer counts only when
// the call succeeded and its flags name a modem (0x01) or network (0x02)
// connection; a proxy flag alone (0x04) is no connection.
bool ConnectionUsable(bool answered, unsigned long flags);

// ---- Numbers and texts -----------------------------------------------------

// Leading blanks, one optional sign, digits up to the first non-digit; no
// digits give 0. Values beyond the 32-bit range saturate.
int ListInt(std::string_view text);

// Every list, registry and probe value is held in a 260-byte buffer: at most
// 259 bytes, cut so that a double-byte character is never split.
constexpr size_t kValueBytes = 259;
std::string CutToBytes(std::string_view text, size_t maxBytes = kValueBytes);

// ---- Version and hold ------------------------------------------------------

// "ver" and "module" of the installed program: the per-user value or the
// machine-wide one the installer writes for every account, whichever is
// greater (an account that never installed the program has only the latter);
// `fallback` when neither exists.
int InstalledLevel(std::optional<int> user, std::optional<int> machine, int fallback);

enum class UpdateKind { None, Program, Module };

// A newer program release wins; otherwise a newer module level; both strict.
UpdateKind DecideUpdateKind(int listVersion, int installedVersion, int listModule,
                            int installedModule);

// Offers are held back while the stored first-allowed date lies after today.
bool HoldPostpones(int storedDate, int today);

// The next first-allowed date after a passed hold: today + days, with months
// counted as 30 days (a day number past 30 moves on by 100 - 30).
int NextHoldDate(int today, int days);

// The module question: the five lines joined by "\n" (empty lines stay),
// cut to the question's 259-byte buffer.
std::string ModuleQuestion(const std::string (&lines)[5]);

// ---- The update list -------------------------------------------------------

constexpr int kTableRows = 20;
constexpr int kOptionalRows = kTableRows - 2;
constexpr int kMaxOffers = 5;
// A list larger than this is treated as a failed fetch.
constexpr std::uint64_t kMaxListBytes = 1024 * 1024;
// Entries read from a running-program or installed-program list at most.
constexpr int kMaxProbeEntries = 100;

// NUM of a probe list: the leading-digits rule, none when negative, at most
// kMaxProbeEntries (a huge count would keep the updater checking for ever).
int ProbeCount(std::string_view num);

struct Component {
  std::string name;
  std::string termsUrl;
  std::string downloadUrl;
  std::string fileName;   // DOWNFILENAME as read
  std::string localPath;  // where the download is stored; empty: not stored
                          // ("ICON": on the desktop, where the next run's probe finds it)
  std::string state;      // "SETUP", "ICON" or "DOWN"
  std::string historyUrl;
  std::string info;
  std::string regPath;
  std::string regRoot;
  std::string regValue;
  int selected = 0;
};

struct UpdateList {
  int version = 0;
  std::string updateUrl;
  std::string updateFile;
  int option = 0;
  std::string module;  // as read; written to the registry after a module update
  std::string moduleQuestion;
  int holdDays = 0;
  std::string mutexUrl;
  std::string title;
  std::string subtitle;
  std::vector<Component> rows;  // 2 fixed rows, then the optional ones
};

// Reads one value of the list: (section, key) -> text, empty when missing.
using ProfileLookup = std::function<std::string(const char* section, const char* key)>;

// The [UPDATE] values that decide the update kind, self-update and hold.
UpdateList ReadUpdateHeader(const ProfileLookup& lookup);

// The component table: fixed rows 0 and 1 from UPFILE1/UPFILE2 with the key
// set of the update kind, then FILE1..FILEn (n = FILENUM clamped to the
// table's 18 optional rows). componentBase is "http://host" of the component
// downloads; moduleFolder is the program folder for the fixed rows' files.
void ReadComponentTable(const ProfileLookup& lookup, UpdateKind kind,
                        const std::string& componentBase, const std::string& moduleFolder,
                        UpdateList& list);

// The component download path: the folder, the part of the name before its
// first '^', '/', the whole name and ".exe".
std::string ComponentPath(std::string_view fileName);

// A name the list gives for a file the updater writes: a plain file name in
// code page 949 (no separators, no drive colon, not "." or "..", no control
// characters, no cut-off or malformed double-byte character, not empty).
bool IsPlainFileName(std::string_view name);

// ---- Offers ----------------------------------------------------------------

// What the offer preparation asks of the machine.
struct OfferProbes {
  std::function<bool(const std::string& historyUrl)> programInstalled;
  // The user's desktop folder; false when it cannot be read.
  std::function<bool(std::string& folder)> desktopFolder;
  std::function<bool(const std::string& path)> fileExists;
  // The folder named by a "DOWN" row's registry setting; false when unreadable.
  std::function<bool(const Component& row, std::string& folder)> targetFolder;
};

// Decides which optional rows are offered (at most five, the first that
// qualify) and where each is stored; the others lose their selected flag.
// An "ICON" row is stored straight on the desktop under its own name, which
// is what the desktop probe looks for: it is offered only while the desktop
// can be read and holds no such file. workFolder ends with a separator.
// Returns whether any row was offered.
bool PrepareOffers(UpdateList& list, const std::string& workFolder, const OfferProbes& probes);

// The tree's toggle: rows 0 and 1 never change; 1 becomes 0, anything else 1.
int ToggledSelection(int row, int selected);

// ---- Install pass ----------------------------------------------------------

// Progress in percent from a download report; no total gives 0.
int ProgressPercent(std::uint64_t done, std::uint64_t total);

// An address fetched over HTTP or HTTPS (scheme compared ignoring case):
// only those answers carry a status.
bool IsHttpAddress(std::string_view url);
// The status of an answer without one (another scheme, such as ftp).
constexpr int kNotHttp = -1;
// A 2xx status, or kNotHttp; an HTTP answer without a status reads as 0.
bool StatusAccepted(int status);

// Whether a finished download counts: an accepted status, the full size when
// the server gave one (declared < 0: none given), and for a file that will be
// run a program header ("MZ").
bool DownloadAccepted(int status, std::int64_t declared, std::uint64_t received,
                      bool willRun, std::string_view firstBytes);

// A program file's Authenticode signature as the system judged it: valid or
// not, and the signing certificate (its encoded bytes) when valid.
struct Signature {
  bool valid = false;
  std::string signer;
};
// Whether a downloaded installer may run. An updater that is not validly
// signed runs what it fetched, as it always has; a validly signed one runs
// only installers validly signed with the very certificate it carries, so
// that no one on the network path can hand it a program of their own.
bool InstallerMayRun(const Signature& updater, const Signature& installer);

// Texts of the install page (wide, shown through the W functions).
std::wstring ProgressLine(const std::wstring& name);
std::wstring LogLine(const std::wstring& name, bool ok);

// "module" is written only when every row of a module update went well.
bool WriteModuleLevel(UpdateKind kind, bool everyRowOk);

// The running-program check: an open that succeeds means running; a failed
// open means running unless the name was not found (error 2).
bool MutexSaysRunning(bool opened, unsigned long lastError);

}  // namespace framlet::update
