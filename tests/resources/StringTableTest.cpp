#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

using vml::resources::Language;
using vml::resources::lookupString;
using vml::resources::stringCount;

constexpr Language languages[] = {Language::Japanese, Language::English};
// Every id the code could ask for, with room on both sides.
constexpr int firstProbe = -16;
constexpr int lastProbe = 20000;

const char* name(Language l) { return l == Language::Japanese ? "Japanese" : "English"; }

std::string text(int id, Language l)
{
    const char* found = lookupString(id, l);
    return found ? found : "<no string>";
}

TEST(StringTable, EveryEntryIsFoundAndBothLanguagesHoldTheSameIds)
{
    // An unsorted table or a duplicated id shows up as a shortfall.
    for (Language l : languages) {
        ASSERT_GT(stringCount(l), 0) << name(l);
        int found = 0;
        for (int id = firstProbe; id <= lastProbe; ++id) {
            const char* t = lookupString(id, l);
            found += t != nullptr;
            EXPECT_TRUE(!t || *t) << name(l) << " empty string " << id;
            EXPECT_EQ(t != nullptr, lookupString(id, languages[0]) != nullptr) << "string " << id;
        }
        EXPECT_EQ(found, stringCount(l)) << name(l);
    }
}

TEST(StringTable, TranslationsKeepWhatTheCallersParse)
{
    for (int id = firstProbe; id <= lastProbe; ++id) {
        const char* ja = lookupString(id, Language::Japanese);
        if (!ja)
            continue;
        const std::string jp = ja, en = text(id, Language::English);
        // Product and class names stay as they are.
        for (const char* product : {"Vermil+", "Crayon+"})
            if (jp.find(product) != std::string::npos) {
                EXPECT_NE(en.find(product), std::string::npos) << "string " << id << ": " << en;
            }
        // Message boxes break their lines where the Japanese does.
        EXPECT_EQ(std::count(jp.begin(), jp.end(), '\n'), std::count(en.begin(), en.end(), '\n'))
            << "string " << id;
        // A file-dialog filter is "description|pattern|": the pattern must survive translation.
        if (const auto bar = jp.find('|'); bar != std::string::npos) {
            const auto enBar = en.find('|');
            ASSERT_NE(enBar, std::string::npos) << "string " << id;
            EXPECT_EQ(en.substr(enBar), jp.substr(bar)) << "string " << id;
        }
    }
}

TEST(StringTable, MissingIdsGiveNullAndEveryProgressTitleHasAText)
{
    // 785 to 935 are used by the code without a known text; a made-up one would reach the user.
    for (Language l : languages)
        for (int id :
             {INT_MIN, -1, 0, 2, 9, 17, 49, 66, 99, 9949, 9951, 99999, INT_MAX, 785, 793, 919, 920, 922, 935})
            EXPECT_EQ(lookupString(id, l), nullptr) << name(l) << " string " << id;
    // The renderer's phases each name themselves in the progress window.
    for (Language l : languages)
        for (int id = 1100; id <= 1103; ++id)
            EXPECT_NE(lookupString(id, l), nullptr) << name(l) << " string " << id;
}

}  // namespace
