#pragma once
// Replacing a whole file so that readers see either the previous file or the complete new one.

#include <cstddef>

// Writes `size` bytes to a new file beside `path` (same directory, so the rename stays on one file
// system; named path + ".tmp." + process id + "." + a counter, created exclusively), closes it,
// then renames it over `path`. An existing file keeps its permissions. Answers true when `path`
// holds the bytes; on any failure (creating, writing, closing or renaming) the previous file is
// left as it was and the temporary file is removed.
bool replaceFileContents(const char* path, const void* data, std::size_t size);
