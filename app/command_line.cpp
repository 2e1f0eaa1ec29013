#include "app/command_line.h"

namespace framlet {

namespace {
bool IsBlankOrControl(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
  size_t i = 0;
  if (i < commandLine.size() && commandLine[i] == '"') {
    ++i;
    while (i < commandLine.size() && commandLine[i] != '"') ++i;
    if (i < commandLine.size()) ++i;  // closing quote
  } else {
    while (i < commandLine.size() && !IsBlankOrControl(commandLine[i])) ++i;
  }
  while (i < commandLine.size() && IsBlankOrControl(commandLine[i])) ++i;
  return commandLine.substr(i);
}

bool IsFrameStart(std::string_view commandLine) {
  std::string_view args = ArgumentsOf(commandLine);
  return args.size() == 2 && args[0] == '-' && (args[1] == 's' || args[1] == 'S');
}

}  // namespace framlet
