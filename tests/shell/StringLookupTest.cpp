#include "shell/StringLookup.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using vml::Language;
using Variables = std::vector<std::pair<const char*, const char*>>;

// Sets the variables the language is read from for one test and puts the old values back.
class LanguageEnvironment {
public:
    static constexpr const char* names[] = {"VERMIL_LANG", "LC_ALL", "LC_MESSAGES", "LANG"};

    // Every variable not given is unset.
    explicit LanguageEnvironment(const Variables& values)
    {
        for (const char* name : names) {
            const char* old = std::getenv(name);
            saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            ::unsetenv(name);
        }
        for (const auto& [name, value] : values)
            ::setenv(name, value, 1);
    }
    ~LanguageEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }
    LanguageEnvironment(const LanguageEnvironment&) = delete;
    LanguageEnvironment& operator=(const LanguageEnvironment&) = delete;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// A module handle for the duration of a test, and the language left to the environment after it.
class StringLookupTest : public ::testing::Test {
protected:
    void SetUp() override { vml::setModuleHandle(&module_); }
    void TearDown() override
    {
        vml::setModuleHandle(nullptr);
        vml::setTextLanguage(std::nullopt);
    }

private:
    int module_ = 0;
};

TEST_F(StringLookupTest, NeedsTheModuleRejectsMissingIdsAndSharesOneBuffer)
{
    vml::setTextLanguage(Language::Japanese);
    vml::setModuleHandle(nullptr);
    EXPECT_EQ(vml::getString(1), nullptr);
    int module = 0;
    vml::setModuleHandle(&module);
    for (int id : {0, -1, 99999})
        EXPECT_EQ(vml::getString(id), nullptr) << id;

    const char* first = vml::getString(10);
    ASSERT_NE(first, nullptr);
    std::string kept = first;  // callers copy at once
    const char* second = vml::getString(11);
    EXPECT_EQ(first, second);
    EXPECT_EQ(kept, "Vermil+ ﾏﾃﾘｱﾙ");
    // A failed lookup leaves the buffer as it was.
    EXPECT_EQ(vml::getString(99999), nullptr);
    EXPECT_STREQ(second, "Vermil+ ﾚﾝﾀﾞﾗｰ");
}

// The first variable set and not empty wins: VERMIL_LANG, LC_ALL, LC_MESSAGES, LANG.
TEST_F(StringLookupTest, LocaleSelectsTheLanguage)
{
    const Language en = Language::English, ja = Language::Japanese;
    const std::pair<Variables, Language> cases[] = {
        {{}, en},
        {{{"LANG", "ja_JP.UTF-8"}}, ja},
        {{{"LANG", "ja"}}, ja},
        {{{"LANG", "C.UTF-8"}}, en},
        {{{"LANG", "en_JP.UTF-8"}}, en},  // only a leading "ja" counts
        {{{"LC_MESSAGES", "ja_JP.eucJP"}}, ja},
        {{{"VERMIL_LANG", "en"}, {"LC_ALL", "ja_JP.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, en},
        {{{"VERMIL_LANG", "ja"}, {"LANG", "en_US.UTF-8"}}, ja},
        {{{"LC_ALL", "C"}, {"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, en},
        {{{"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}}, ja},
        {{{"VERMIL_LANG", ""}, {"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, ja},
    };
    for (const auto& [environment, expected] : cases) {
        LanguageEnvironment env(environment);
        EXPECT_EQ(vml::languageFromEnvironment(), expected)
            << (environment.empty() ? "nothing set" : environment.front().second);
    }
}

TEST_F(StringLookupTest, LanguageIsReadOnceAtTheFirstLookupUnlessChosenInCode)
{
    LanguageEnvironment env(Variables{{"VERMIL_LANG", "ja_JP.UTF-8"}});
    const char* found = vml::getString(11);
    ASSERT_NE(found, nullptr);
    const std::string first = found;
    EXPECT_EQ(vml::textLanguage(), Language::Japanese);
    // Texts already shown must not change language mid-session.
    ::setenv("VERMIL_LANG", "en", 1);
    EXPECT_EQ(vml::getString(11), first);
    // Handing the choice back reads the environment again.
    vml::setTextLanguage(std::nullopt);
    EXPECT_STREQ(vml::getString(11), vml::resources::lookupString(11, Language::English));
    // A language chosen in code overrides the environment.
    vml::setTextLanguage(Language::Japanese);
    EXPECT_EQ(vml::textLanguage(), Language::Japanese);
    EXPECT_STREQ(vml::getString(11), vml::resources::lookupString(11, Language::Japanese));
}

}  // namespace
