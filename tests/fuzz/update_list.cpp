// The updater's readers of what the server sends: the update list ([UPDATE]
// header, the component table with FILENUM and FILE<n> sections, texts cut at
// character boundaries, the plain-name check that keeps writes in their
// folder, the offers), and the running-program and history probe lists
// (COUNTER NUM, CHECK<n> sections with MUTEX, HKEY, REGPATH, REGNAME,
// REGVALUE). The input is the list as fetched.
#include <algorithm>
#include <climits>
#include <string>

#include "core/paths.h"
#include "fuzz_check.h"
#include "ini_text.h"
#include "updater/update_rules.h"

using namespace framlet::update;

namespace {

bool Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// A value as the updater keeps it: a prefix of what was read, at most 259
// bytes, never ending inside a double-byte character, and only cut when it
// had to be.
void CheckCut(const std::string& kept, std::string_view read) {
  FUZZ_CHECK(kept.size() <= kValueBytes, "a value of %zu bytes", kept.size());
  FUZZ_CHECK(read.substr(0, kept.size()) == kept, "a value that is not a prefix of what was read");
  if (read.size() <= kValueBytes) {
    FUZZ_CHECK(kept.size() == read.size(), "a short value was cut");
    return;
  }
  size_t at = 0;
  while (at < kept.size()) at += Lead(static_cast<unsigned char>(kept[at])) ? 2 : 1;
  FUZZ_CHECK(at == kept.size(), "a value cut inside a double-byte character");
  FUZZ_CHECK(kept.size() + 1 >= kValueBytes, "a long value cut to %zu bytes", kept.size());
}

void CheckPlainName(std::string_view name) {
  if (!IsPlainFileName(name)) return;
  const framlet::PathParts parts = framlet::SplitPath(name, framlet::IsCp949LeadByte);
  FUZZ_CHECK(parts.drive.empty() && parts.dir.empty(), "the plain name \"%.*s\" names a folder",
             static_cast<int>(name.size()), name.data());
  FUZZ_CHECK(name != "." && name != ".." && name.back() != '.' && name.back() != ' ', "a plain name the system trims");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const uint32_t machine = in.ConsumeIntegral<uint32_t>();  // the probes' answers, bit by bit
  const fuzzini::Ini list(in.ConsumeRemainingBytesAsString());
  const auto lookup = [&](const char* section, const char* key) { return list.Get(section, key); };

  // The header and the numbers in it.
  const UpdateList header = ReadUpdateHeader(lookup);
  FUZZ_CHECK(header.version == fuzzini::LeadingNumber(CutToBytes(list.Get("UPDATE", "VERSION"))), "VERSION misread");
  FUZZ_CHECK(header.holdDays == fuzzini::LeadingNumber(CutToBytes(list.Get("UPDATE", "HOLDDATA"))), "HOLDDATA misread");
  CheckCut(header.updateUrl, list.Get("UPDATE", "UPDATEURL"));
  CheckCut(header.module, list.Get("UPDATE", "MODULE"));
  CheckCut(header.mutexUrl, list.Get("UPDATE", "MUTEXCHK"));
  FUZZ_CHECK(header.moduleQuestion.size() <= kValueBytes, "module question of %zu bytes", header.moduleQuestion.size());
  CheckPlainName(header.updateFile);
  const std::string_view arguments = ArgumentsOf(header.updateUrl);
  FUZZ_CHECK(std::string_view(header.updateUrl).substr(header.updateUrl.size() - arguments.size()) == arguments,
             "arguments that are not the end of the command line");
  (void)LaunchModeFromArguments(arguments);
  (void)NextHoldDate(header.version, header.holdDays);

  // The component table for each kind of update, and the offers made from it.
  for (UpdateKind kind : {UpdateKind::Program, UpdateKind::Module, UpdateKind::None}) {
    UpdateList table = header;
    const size_t lookupsBefore = list.Lookups();
    ReadComponentTable(lookup, kind, "http://down.framlet.example", "C:\\Framlet\\", table);
    FUZZ_CHECK(list.Lookups() - lookupsBefore <= 3 + 2 * 7 + kOptionalRows * 10, "%zu values read for the table",
               list.Lookups() - lookupsBefore);
    FUZZ_CHECK(table.rows.size() >= 2 && table.rows.size() <= static_cast<size_t>(kTableRows), "%zu rows",
               table.rows.size());
    for (size_t i = 0; i < table.rows.size(); ++i) {
      const Component& row = table.rows[i];
      for (const std::string* text : {&row.name, &row.fileName, &row.state, &row.regPath, &row.termsUrl, &row.info})
        FUZZ_CHECK(text->size() <= kValueBytes, "row %zu holds a value of %zu bytes", i, text->size());
      if (!row.localPath.empty())
        FUZZ_CHECK(IsPlainFileName(row.fileName) && row.localPath == "C:\\Framlet\\" + row.fileName,
                   "row %zu is stored at %s", i, row.localPath.c_str());
      CheckPlainName(row.fileName);
    }

    OfferProbes probes;
    probes.programInstalled = [&](const std::string&) { return (machine & 1) != 0; };
    probes.desktopFolder = [&](std::string& folder) {
      folder = (machine & 2) ? "C:\\Users\\me\\Desktop" : "";
      return (machine & 4) != 0;
    };
    probes.fileExists = [&](const std::string&) { return (machine & 8) != 0; };
    probes.targetFolder = [&](const Component&, std::string& folder) {
      folder = (machine & 16) ? "D:\\Tools\\" : "";
      return (machine & 32) != 0;
    };
    const bool offered = PrepareOffers(table, "C:\\Temp\\", probes);
    int selected = 0;
    for (size_t i = 2; i < table.rows.size(); ++i) {
      const Component& row = table.rows[i];
      if (row.selected == 0) continue;
      ++selected;
      FUZZ_CHECK(IsPlainFileName(row.fileName), "row %zu offered under a name that is not plain", i);
      const std::string& path = row.localPath;
      const bool inFolder = path == "C:\\Temp\\" + row.fileName + "_framlet.exe" ||
                            path == "C:\\Users\\me\\Desktop\\" + row.fileName ||
                            path == "D:\\Tools\\" + row.fileName + ".exe";
      FUZZ_CHECK(inFolder, "row %zu stored at %s", i, path.c_str());
    }
    FUZZ_CHECK(selected <= kMaxOffers && offered == (selected > 0), "%d rows offered", selected);
  }

  // The probe lists: a count the list cannot push past the bound, and each
  // entry's values cut as every value is.
  const int count = ProbeCount(list.Get("COUNTER", "NUM"));
  FUZZ_CHECK(count >= 0 && count <= kMaxProbeEntries, "NUM gives %d entries", count);
  const int listed = fuzzini::LeadingNumber(list.Get("COUNTER", "NUM"));
  FUZZ_CHECK(count == std::clamp(listed, 0, kMaxProbeEntries), "NUM %d gives %d entries", listed, count);
  for (int i = 1; i <= count; ++i) {
    const std::string section = "CHECK" + std::to_string(i);
    for (const char* key : {"MUTEX", "HKEY", "REGPATH", "REGNAME", "REGVALUE"}) {
      const std::string read = list.Get(section, key);
      CheckCut(CutToBytes(read), read);
    }
  }
  return 0;
}
