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

}  // namespace
