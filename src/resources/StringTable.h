#pragma once
namespace vml::resources {
// Text of string `id` in the library's string table (UTF-8), or nullptr when the table has no such id.
const char* lookupString(int id);
// Number of entries (for tests and tools).
int stringCount();
}  // namespace vml::resources
