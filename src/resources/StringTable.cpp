#include "resources/StringTable.h"

#include "resources/EnglishStrings.h"
#include "resources/JapaneseStrings.h"

#include <algorithm>
#include <span>

namespace vml::resources {
namespace {

static_assert(isWellFormed(japaneseStrings), "Japanese ids must be strictly ascending, texts non-empty");
static_assert(isWellFormed(englishStrings), "English ids must be strictly ascending, texts non-empty");
static_assert(haveSameIds(japaneseStrings, englishStrings), "every id needs a text in both languages");

std::span<const StringEntry> table(Language language)
{
    return language == Language::Japanese ? std::span<const StringEntry>(japaneseStrings)
                                          : std::span<const StringEntry>(englishStrings);
}

}  // namespace

const char* lookupString(int id, Language language)
{
    const std::span<const StringEntry> entries = table(language);
    auto it = std::lower_bound(entries.begin(), entries.end(), id,
                               [](const StringEntry& e, int key) { return e.id < key; });
    return (it != entries.end() && it->id == id) ? it->text : nullptr;
}

int stringCount(Language language) { return static_cast<int>(table(language).size()); }

}  // namespace vml::resources

// Ids used without a known text. The code refers to these ids, but their texts are not settled
// yet, so they are left out of both tables and look up as null:
//   785         file filter of the line element "save" dialog (.vme)
//   793         file filter of the lines "save" dialog (.vma)
//   919, 920    track-view names of brush parameters 1 and 2
//   922 - 935   track-view names of brush parameters 4 to 17
