#pragma once
// The library's module handle and its string lookup. Every user-visible text of the system
// comes through getString.

#include "host/MaxTypes.h"
#include "resources/StringTable.h"

#include <optional>

namespace vml {

using resources::Language;

HINSTANCE moduleHandle();
void setModuleHandle(HINSTANCE handle);

// The text of string `id` in the text language, copied into one shared buffer (at most 255
// characters, cut at a character boundary), or nullptr when the module handle is not set or the
// table lacks the id. The text stays valid until the next lookup: callers that keep it copy it at
// once. Main thread only.
const char* getString(int id);

// The language getString answers in: the one set by setTextLanguage, else the environment's
// (languageFromEnvironment), read once at the first lookup of the process so that texts never
// change language halfway through a session.
Language textLanguage();
// Fixes the language of every later lookup; nullopt hands the choice back to the environment,
// read again at the next lookup. For tests, and for a host that knows its user's language.
void setTextLanguage(std::optional<Language> language);

// The language the environment asks for now: VERMIL_LANG, else the locale's (LC_ALL, then
// LC_MESSAGES, then LANG), the first that is set and not empty. A value starting with "ja" means
// Japanese; any other value, or none, English.
Language languageFromEnvironment();

}  // namespace vml
