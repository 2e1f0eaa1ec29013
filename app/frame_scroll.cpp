#include "app/frame_parts.h"

#include "app/frame_commands.h"

std::unique_ptr<CFramePart> MakeScrollPart(IFrameCommandHost&, CommandSeams&) {
  return nullptr;
}
