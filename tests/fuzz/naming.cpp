// File naming and path splitting with the names users give and the folders
// they pick, in code page 949 (whose trail bytes may be '\\'): the split and
// its parts, the stem cut, the running series, the save dialog's proposal and
// confirmation, the preview's stamped names. Existing files are simulated:
// the first `taken` names asked about exist, so every search must end on the
// next one, and never ask about the same name twice (it would loop for good).
#include <set>
#include <string>

#include "capture/naming.h"
#include "core/paths.h"
#include "fuzz_check.h"

using namespace framlet;

namespace {

bool WholeCharacters(std::string_view text, LeadByteTest lead) {
  size_t at = 0;
  while (at < text.size()) at += (lead && lead(static_cast<unsigned char>(text[at])) && at + 1 < text.size()) ? 2 : 1;
  return at == text.size();
}

// Whether the text holds a separator that is not a trail byte.
bool HasSeparator(std::string_view text, LeadByteTest lead) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (lead && lead(c) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '/') return true;
  }
  return false;
}

class Files {
 public:
  explicit Files(int taken) : taken_(taken) {}
  ExistsProbe Probe() {
    return [this](const std::string& path) {
      FUZZ_CHECK(asked_.insert(path).second, "the name %s was asked about twice", path.c_str());
      return static_cast<int>(asked_.size()) <= taken_;
    };
  }
  void CheckEnded() const {
    FUZZ_CHECK(static_cast<int>(asked_.size()) == taken_ + 1, "%zu names asked about, %d taken", asked_.size(), taken_);
  }

 private:
  int taken_;
  std::set<std::string> asked_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string path = in.ConsumeRandomLengthString(1024);
  const std::string chosen = in.ConsumeRandomLengthString(1024);
  const LeadByteTest lead = in.ConsumeBool() ? IsCp949LeadByte : nullptr;
  const int taken = in.ConsumeIntegralInRange(0, 64);

  const PathParts parts = SplitPath(path, lead);
  FUZZ_CHECK(parts.drive + parts.dir + parts.stem + parts.ext == path, "the parts of %s do not join to it", path.c_str());
  FUZZ_CHECK(parts.dir.empty() || parts.dir.back() == '\\' || parts.dir.back() == '/', "folder %s", parts.dir.c_str());
  FUZZ_CHECK(!HasSeparator(parts.stem + parts.ext, lead), "a file name with a separator in %s", path.c_str());
  FUZZ_CHECK(parts.ext.empty() || parts.ext[0] == '.', "extension %s", parts.ext.c_str());
  FUZZ_CHECK(FolderOf(path, lead) == parts.drive + parts.dir, "folder of %s", path.c_str());

  const size_t maxBytes = in.ConsumeIntegralInRange<size_t>(0, 300);
  const std::string cut = CutStem(path, maxBytes, lead);
  FUZZ_CHECK(cut.size() <= maxBytes && path.compare(0, cut.size(), cut) == 0 && WholeCharacters(cut, lead),
             "stem cut to %zu bytes", cut.size());

  NamingState state;
  state.counter = in.ConsumeIntegral<int32_t>();
  state.baseName = in.ConsumeBool() ? std::string() : CutStem(chosen, kMaxBaseNameBytes, lead);
  const int32_t counter = state.counter;
  {
    Files files(taken);
    const std::string proposal = ProposeName(state, path, files.Probe(), lead);
    if (path.empty()) {
      FUZZ_CHECK(proposal.empty() && state.counter == counter, "a proposal for no path");
    } else {
      files.CheckEnded();
      FUZZ_CHECK(state.baseName.size() <= kMaxBaseNameBytes && WholeCharacters(state.baseName, lead),
                 "series stem of %zu bytes", state.baseName.size());
      FUZZ_CHECK(proposal == SeriesName(state.baseName, static_cast<int32_t>(static_cast<uint32_t>(state.counter) - 1)),
                 "proposal %s", proposal.c_str());
    }
    const int32_t format = ConfirmSaveChoice(state, chosen, in.ConsumeIntegralInRange(0, 5), proposal, lead);
    FUZZ_CHECK(state.formatIndex == format && state.currentPath == chosen, "confirmed choice not kept");
    FUZZ_CHECK(state.baseName.size() <= kMaxBaseNameBytes, "series stem of %zu bytes", state.baseName.size());
  }
  {
    Files files(taken);
    const SeriesStep step = AdvanceSeries(state, chosen, files.Probe(), lead);
    files.CheckEnded();
    const PathParts chosenParts = SplitPath(chosen, lead);
    FUZZ_CHECK(step.path == chosenParts.drive + chosenParts.dir + step.name + chosenParts.ext, "series path %s",
               step.path.c_str());
  }
  if (!chosen.empty()) {
    Files files(taken);
    const int minute = in.ConsumeIntegral<int>();
    const int second = in.ConsumeIntegral<int>();
    const std::string stamped = StampedPath(chosen, minute, second, files.Probe(), lead);
    files.CheckEnded();
    const PathParts chosenParts = SplitPath(chosen, lead);
    const PathParts stampedParts = SplitPath(stamped, lead);
    FUZZ_CHECK(stampedParts.drive + stampedParts.dir == chosenParts.drive + chosenParts.dir,
               "stamped %s left the folder of %s", stamped.c_str(), chosen.c_str());
  }
  const ImageFormat format = FormatForPath(path);
  FUZZ_CHECK(format >= kNoFormat && format <= kGifFormat, "format %d", static_cast<int>(format));
  return 0;
}
