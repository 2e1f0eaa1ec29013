#pragma once
#include <windows.h>

#include <cstddef>
#include <initializer_list>
#include <string>

namespace framlet {

struct FileChunk {
  const void* data;
  size_t size;
};

// Writes the chunks, one after the other, as the new contents of path. They go
// to a temporary file in the same folder first, which takes path's place only
// once it is completely written and flushed; until then an existing file at
// path stays as it was. On any failure (path refused, folder missing, disk
// full, the move refused) returns false, path is untouched and the temporary
// file is gone. A read-only or folder target is refused.
bool ReplaceFileContents(const std::string& path, std::initializer_list<FileChunk> chunks);

}  // namespace framlet
