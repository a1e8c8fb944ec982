#pragma once
// The library's module handle and its string lookup. Every user-visible text of the system
// comes through getString.

#include "host/MaxTypes.h"

namespace vml {

HINSTANCE moduleHandle();
void setModuleHandle(HINSTANCE handle);

// The text of string `id`, copied into one shared buffer (at most 255 characters, cut at a
// character boundary), or nullptr when the module handle is not set or the table lacks the id.
// The text stays valid until the next lookup: callers that keep it copy it at once. Main
// thread only.
const char* getString(int id);

}  // namespace vml
