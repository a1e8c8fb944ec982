#pragma once
// The library's string tables: every user-visible text (class names, rollout titles, parameter
// labels, blend-method names, file-dialog texts and message-box texts) under its numeric id, in
// Japanese and in English. Both tables hold the same ids.

namespace vml::resources {

enum class Language { Japanese, English };

// Text of string `id` in the table of `language` (UTF-8), or nullptr when the table has no such id.
const char* lookupString(int id, Language language);
// Number of entries of one table (for tests and tools).
int stringCount(Language language);

}  // namespace vml::resources
