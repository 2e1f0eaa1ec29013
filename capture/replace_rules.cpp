#include "capture/replace_rules.h"

#include <cstdio>

#include "core/paths.h"

namespace framlet {

std::string TempPathBeside(std::string_view target, uint32_t number, LeadByteTest isLeadByte) {
  char name[16];
  std::snprintf(name, sizeof name, "~fl%04x.tmp", static_cast<unsigned>(number & 0xFFFFu));
  return FolderOf(target, isLeadByte) + name;
}

bool FlushErrorLosesData(uint32_t error) {
  return error != kErrorInvalidFunction && error != kErrorNotSupported;
}

}  // namespace framlet
