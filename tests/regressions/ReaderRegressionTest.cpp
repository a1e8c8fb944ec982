// Every input that once crashed, hung or exhausted a reader is kept in tests/regressions/<reader>/
// and fed through that reader here: it must be refused with an error that names the file and
// says what is wrong, and nothing may crash on the way (the sanitizer build runs this too).

#include "app/HostSetup.h"
#include "host/Interface.h"
#include "standalone/SceneDocument.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/SceneOrModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> inputsOf(const char* reader)
{
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::path(VML_REGRESSIONS_DIR) / reader))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Messages quote the broken input; they must still print as one line of text.
bool printableText(std::string_view s)
{
    return std::none_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F || b == 0xFE || b == 0xFF;
    });
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = fs::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// The program's host, set up once for the process as the program sets it up.
standalone::StandaloneCore& host()
{
    static standalone::StandaloneCore* core = [] {
        auto* made = new standalone::StandaloneCore;
        made->setQuietMode(true);
        app::setUpHost(*made);
        return made;
    }();
    return *core;
}

class SceneDocumentRegressions : public ::testing::TestWithParam<std::string> {};

TEST_P(SceneDocumentRegressions, RefusedWithTheFileAndTheReason)
{
    const std::string& path = GetParam();
    try {
        standalone::loadScene(path, host());
        ADD_FAILURE() << "loaded";
    } catch (const standalone::SceneError& e) {
        EXPECT_EQ(e.file(), path);
        EXPECT_FALSE(e.reason().empty());
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_TRUE(printableText(e.what())) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, SceneDocumentRegressions, ::testing::ValuesIn(inputsOf("scene_document")),
                         testName);

class ModelImportRegressions : public ::testing::TestWithParam<std::string> {};

TEST_P(ModelImportRegressions, RefusedWithTheFileAndTheReason)
{
    const std::string& path = GetParam();
    try {
        standalone::sceneFromModel(path, host());
        ADD_FAILURE() << "imported";
    } catch (const standalone::ImportError& e) {
        EXPECT_EQ(e.file(), path);
        EXPECT_FALSE(e.reason().empty());
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        EXPECT_TRUE(printableText(e.what())) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, ModelImportRegressions, ::testing::ValuesIn(inputsOf("model_import")),
                         testName);

}  // namespace
