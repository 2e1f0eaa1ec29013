#include "capture/naming.h"

#include <algorithm>
#include <cstdio>

#include "core/paths.h"

namespace framlet {

namespace {

// Position of the last single-byte character c, skipping the trail bytes of
// double-byte characters; npos when there is none.
size_t LastCharOf(std::string_view text, char c, LeadByteTest isLeadByte) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (isLeadByte && isLeadByte(byte) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (text[i] == c) found = i;
  }
  return found;
}

// The running number wraps like a 32-bit register instead of overflowing.
int32_t Incremented(int32_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value) + 1u);
}

}  // namespace

std::string FilterListText(int count) {
  std::string text;
  for (int i = 0; i < count && i < kAllFilters; ++i) {
    text += kSaveFilters[i].label;
    text += '\0';
    text += kSaveFilters[i].pattern;
    text += '\0';
  }
  return text;
}

std::string CutStem(std::string_view stem, size_t maxBytes, LeadByteTest isLeadByte) {
  size_t end = 0;
  while (end < stem.size()) {
    const auto byte = static_cast<unsigned char>(stem[end]);
    const size_t width = (isLeadByte && isLeadByte(byte) && end + 1 < stem.size()) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return std::string(stem.substr(0, end));
}

std::string SeriesName(std::string_view stem, int32_t number) {
  return std::string(stem) + "_" + std::to_string(number);
}

SeriesStep AdvanceSeries(NamingState& state, std::string_view fromPath, const ExistsProbe& exists,
                         LeadByteTest isLeadByte) {
  const PathParts parts = SplitPath(fromPath, isLeadByte);
  if (state.baseName.empty()) state.baseName = CutStem(parts.stem, kMaxBaseNameBytes, isLeadByte);
  SeriesStep step;
  do {
    step.name = SeriesName(state.baseName, state.counter);
    state.counter = Incremented(state.counter);
    step.path = parts.drive + parts.dir + step.name + parts.ext;
  } while (exists(step.path));
  return step;
}

std::string ProposeName(NamingState& state, std::string_view path, const ExistsProbe& exists,
                        LeadByteTest isLeadByte) {
  if (path.empty()) return {};
  return AdvanceSeries(state, path, exists, isLeadByte).name;
}

int32_t ConfirmSaveChoice(NamingState& state, std::string_view chosenPath, int32_t filterIndex,
                          std::string_view proposal, LeadByteTest isLeadByte) {
  state.currentPath = std::string(chosenPath);
  const PathParts parts = SplitPath(chosenPath, isLeadByte);
  if (parts.stem != proposal) {
    state.baseName = CutStem(parts.stem, kMaxBaseNameBytes, isLeadByte);
    state.counter = 0;
  }
  state.formatIndex = filterIndex;
  return filterIndex;
}

std::string MinuteSecondStamp(int minute, int second) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d", minute, second);
  return text;
}

std::string StampedPath(std::string_view lastPath, int minute, int second, const ExistsProbe& exists,
                        LeadByteTest isLeadByte) {
  // The series stem: the file name up to its last "_" (none without one).
  std::string_view fileName = lastPath;
  // Either separator ends the folder, as in SplitPath.
  const size_t backslash = LastCharOf(lastPath, '\\', isLeadByte);
  const size_t slash = LastCharOf(lastPath, '/', isLeadByte);
  const size_t folderEnd = backslash == std::string_view::npos ? slash
                           : slash == std::string_view::npos    ? backslash
                                                                : std::max(backslash, slash);
  if (folderEnd != std::string_view::npos) fileName = lastPath.substr(folderEnd + 1);
  const size_t underscore = LastCharOf(fileName, '_', isLeadByte);
  std::string stem = underscore == std::string_view::npos ? std::string() : std::string(fileName.substr(0, underscore));

  const PathParts parts = SplitPath(lastPath, isLeadByte);
  if (stem.empty()) stem = parts.stem;
  const std::string stamped = stem + "_" + MinuteSecondStamp(minute, second);
  std::string path = parts.drive + parts.dir + stamped + parts.ext;
  // Two saves within the same minute and second of an hour would meet here.
  // The further number follows a "-" so that the next save, which cuts the
  // stored name at its last "_", finds the same stem again.
  for (int32_t suffix = 1; exists(path); ++suffix)
    path = parts.drive + parts.dir + stamped + "-" + std::to_string(suffix) + parts.ext;
  return path;
}

ImageFormat FormatForPath(std::string_view path) {
  if (path.size() < 3) return kNoFormat;
  const std::string_view tail = path.substr(path.size() - 3);
  for (const SaveFilter& filter : kSaveFilters) {
    if (tail == std::string_view(filter.pattern).substr(2)) return filter.format;
  }
  return kNoFormat;
}

}  // namespace framlet
