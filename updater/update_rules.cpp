#include "updater/update_rules.h"

#include <algorithm>
#include <climits>

#include "web/site_config.h"

namespace framlet::update {
namespace {

bool IsLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// The second bytes of the code page's double-byte characters.
bool IsTrail(unsigned char c) { return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE); }

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
  size_t pos = 0;
  while (pos < commandLine.size() && (commandLine[pos] == ' ' || commandLine[pos] == '\t')) ++pos;
  if (pos < commandLine.size() && commandLine[pos] == '"') {
    size_t close = commandLine.find('"', pos + 1);
    pos = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (pos < commandLine.size() && commandLine[pos] != ' ' && commandLine[pos] != '\t') ++pos;
  }
  return commandLine.substr(pos);
}

LaunchMode LaunchModeFromArguments(std::string_view arguments) {
  size_t dash = arguments.find('-');
  if (dash == std::string_view::npos || dash + 1 >= arguments.size()) return LaunchMode::Normal;
  switch (arguments[dash + 1]) {
    case 'o': return LaunchMode::O;
    case 'u': return LaunchMode::U;
    default: return LaunchMode::Normal;
  }
}

int ListInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) {
      value = static_cast<long long>(INT_MAX) + 1;
    }
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::string CutToBytes(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return std::string(text);
  size_t end = 0;
  while (end < maxBytes) {
    size_t step = IsLead(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > maxBytes) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

UpdateKind DecideUpdateKind(int listVersion, int installedVersion, int listModule,
                            int installedModule) {
  if (listVersion > installedVersion) return UpdateKind::Program;
  if (listModule > installedModule) return UpdateKind::Module;
  return UpdateKind::None;
}

int InstalledLevel(std::optional<int> user, std::optional<int> machine, int fallback) {
  if (user && machine) return std::max(*user, *machine);
  if (user) return *user;
  if (machine) return *machine;
  return fallback;
}

bool HoldPostpones(int storedDate, int today) { return storedDate > today; }

int NextHoldDate(int today, int days) {
  long long next = static_cast<long long>(today) + days;
  if (today % 100 + static_cast<long long>(days) > 30) next += 70;
  if (next > INT_MAX) return INT_MAX;
  if (next < INT_MIN) return INT_MIN;
  return static_cast<int>(next);
}

std::string ModuleQuestion(const std::string (&lines)[5]) {
  std::string joined = lines[0];
  for (int i = 1; i < 5; ++i) joined += "\n" + lines[i];
  return CutToBytes(joined);
}

UpdateList ReadUpdateHeader(const ProfileLookup& lookup) {
  auto get = [&](const char* key) { return CutToBytes(lookup("UPDATE", key)); };
  UpdateList list;
  list.version = ListInt(get("VERSION"));
  list.updateUrl = get("UPDATEURL");
  list.updateFile = get("UPDATEFILE");
  list.option = ListInt(get("OPTION"));
  list.module = get("MODULE");
  const std::string lines[5] = {get("MODULETEXT1"), get("MODULETEXT2"), get("MODULETEXT3"),
                                get("MODULETEXT4"), get("MODULETEXT5")};
  list.moduleQuestion = ModuleQuestion(lines);
  list.holdDays = ListInt(get("HOLDDATA"));
  list.mutexUrl = get("MUTEXCHK");
  return list;
}

int ProbeCount(std::string_view num) {
  return std::clamp(ListInt(num), 0, kMaxProbeEntries);
}

std::string ComponentPath(std::string_view fileName) {
  // No caret: the folder part is empty (two separators in a row).
  size_t caret = fileName.find('^');
  std::string_view prefix = caret == std::string_view::npos ? std::string_view() : fileName.substr(0, caret);
  std::string path = site::kComponentFolderPath;
  path.append(prefix);
  path += '/';
  path.append(fileName);
  path += ".exe";
  return path;
}

void ReadComponentTable(const ProfileLookup& lookup, UpdateKind kind,
                        const std::string& componentBase, const std::string& moduleFolder,
                        UpdateList& list) {
  auto get = [&](const std::string& section, const char* key) {
    return CutToBytes(lookup(section.c_str(), key));
  };
  list.title = get("UPFILE1", "TITLE");
  list.subtitle = get("UPFILE1", "SUBTITLE");
  list.rows.clear();
  for (const char* section : {"UPFILE1", "UPFILE2"}) {
    Component row;
    row.info = get(section, "PROGINFO");
    if (kind == UpdateKind::Module) {
      row.name = get(section, "NAME1");
      row.termsUrl = get(section, "LINCES1");
      row.downloadUrl = get(section, "DOWNFILEURL");
      row.fileName = get(section, "DOWNFILENAME");
      row.state = get(section, "STATE");
      // A name that is not a plain file name would be written outside the
      // program folder: the row keeps no path and installs nothing.
      if (IsPlainFileName(row.fileName)) row.localPath = moduleFolder + row.fileName;
    } else {
      row.name = get(section, "NAME");
      row.termsUrl = get(section, "LINCES");
    }
    row.selected = 1;
    list.rows.push_back(row);
  }
  int count = ListInt(get("UPDATE", "FILENUM"));
  if (count < 0) count = 0;
  if (count > kOptionalRows) count = kOptionalRows;
  for (int i = 1; i <= count; ++i) {
    const std::string section = "FILE" + std::to_string(i);
    Component row;
    row.name = get(section, "NAME");
    row.state = get(section, "STATE");
    row.fileName = get(section, "DOWNFILENAME");
    row.regPath = get(section, "FILEREGPATH");
    row.regRoot = get(section, "FILEREGKEY");
    row.regValue = get(section, "FILEREGVALUE");
    row.historyUrl = get(section, "HISTORYCHK");
    row.termsUrl = get(section, "LINCES");
    row.info = get(section, "PROGINFO");
    row.selected = ListInt(get(section, "CHECK"));
    row.downloadUrl = componentBase + ComponentPath(row.fileName);
    list.rows.push_back(row);
  }
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (IsLead(c)) {
      // A cut-off character, or a lead byte before what no trail byte is (a
      // colon, dot, slash, blank, backslash or control character), which the
      // system may read as a character of its own: "\xB0:x" would name a drive
      // or a stream, "\x81\\x" a folder.
      if (i + 1 >= name.size() || !IsTrail(static_cast<unsigned char>(name[i + 1]))) return false;
      ++i;
      continue;
    }
    if (c < 0x20 || c == 0x7F) return false;
    if (c == '\\' || c == '/' || c == ':') return false;
    if (c == '<' || c == '>' || c == '"' || c == '|' || c == '?' || c == '*') return false;
  }
  // Trailing dots and blanks are dropped by the file system and could name a folder.
  char last = name.back();
  return last != '.' && last != ' ';
}

bool PrepareOffers(UpdateList& list, const std::string& workFolder, const OfferProbes& probes) {
  int offered = 0;
  for (size_t i = 2; i < list.rows.size(); ++i) {
    Component& row = list.rows[i];
    row.localPath.clear();
    if (row.selected == 0) continue;
    if (offered >= kMaxOffers || !IsPlainFileName(row.fileName)) {
      row.selected = 0;
      continue;
    }
    if (row.state == "SETUP") {
      if (probes.programInstalled && probes.programInstalled(row.historyUrl)) {
        row.selected = 0;
        continue;
      }
      row.localPath = workFolder + row.fileName + "_framlet.exe";
    } else if (row.state == "ICON") {
      std::string desktop;
      if (!probes.desktopFolder || !probes.desktopFolder(desktop) || desktop.empty()) {
        row.selected = 0;
        continue;
      }
      if (desktop.back() != '\\') desktop += '\\';
      const std::string placed = desktop + row.fileName;
      if (probes.fileExists && probes.fileExists(placed)) {
        row.selected = 0;
        continue;
      }
      row.localPath = placed;
    } else if (row.state == "DOWN") {
      std::string folder;
      if (!probes.targetFolder || !probes.targetFolder(row, folder) || folder.empty()) {
        row.selected = 0;
        continue;
      }
      if (folder.back() != '\\') folder += '\\';
      row.localPath = folder + row.fileName + ".exe";
    } else {
      // A row of any other kind has nothing the install pass knows to do.
      row.selected = 0;
      continue;
    }
    ++offered;
  }
  return offered > 0;
}

int ToggledSelection(int row, int selected) {
  if (row < 2) return selected;
  return selected == 1 ? 0 : 1;
}

int ProgressPercent(std::uint64_t done, std::uint64_t total) {
  if (total == 0) return 0;
  double percent = static_cast<double>(done) * 100.0 / static_cast<double>(total);
  if (percent < 0) return 0;
  if (percent > 100) return 100;
  return static_cast<int>(percent);
}

bool IsHttpAddress(std::string_view url) {
  auto startsWith = [url](std::string_view scheme) {
    if (url.size() < scheme.size()) return false;
    for (size_t i = 0; i < scheme.size(); ++i) {
      char c = url[i];
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      if (c != scheme[i]) return false;
    }
    return true;
  };
  return startsWith("http://") || startsWith("https://");
}

bool StatusAccepted(int status) { return status == kNotHttp || (status >= 200 && status <= 299); }

bool DownloadAccepted(int status, std::int64_t declared, std::uint64_t received, bool willRun,
                      std::string_view firstBytes) {
  if (!StatusAccepted(status)) return false;
  if (declared >= 0 && static_cast<std::uint64_t>(declared) != received) return false;
  if (willRun && (firstBytes.size() < 2 || firstBytes[0] != 'M' || firstBytes[1] != 'Z')) {
    return false;
  }
  return true;
}

std::wstring ProgressLine(const std::wstring& name) { return name + L"설치을 진행중입니다."; }

std::wstring LogLine(const std::wstring& name, bool ok) {
  return name + (ok ? L" 설치를 완료 하였습니다. \r\n\r\n" : L" 설치에 실패하였습니다. \r\n\r\n");
}

bool WriteModuleLevel(UpdateKind kind, bool everyRowOk) {
  return kind == UpdateKind::Module && everyRowOk;
}

bool InstallerMayRun(const Signature& updater, const Signature& installer) {
  if (!updater.valid) return true;
  return installer.valid && !installer.signer.empty() && installer.signer == updater.signer;
}

bool ConnectionUsable(bool answered, unsigned long flags) {
  constexpr unsigned long kModem = 0x01, kLan = 0x02;
  return answered && (flags & (kModem | kLan)) != 0;
}

bool MutexSaysRunning(bool opened, unsigned long lastError) {
  return opened || lastError != 2;
}

}  // namespace framlet::update
