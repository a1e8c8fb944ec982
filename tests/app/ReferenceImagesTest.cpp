// Every example, rendered small as a user renders it, against the reference images kept in
// tests/images: the pictures themselves are pinned, not only the code that makes them. A failure
// leaves NAME.new.png and NAME.diff.png beside the reference; after an intended change,
// VERMIL_UPDATE_REFERENCES=1 rewrites the references (docs/development.md).

#include "support/CommandTestSupport.h"

#include "app/RenderCommand.h"
#include "support/ImageCompare.h"

#include <OpenImageIO/imageio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

using namespace test_support;

namespace {

namespace fs = std::filesystem;

struct Example {
    const char* name;       // of the references: NAME.png, NAME.<element>.png, NAME.<frame>.png
    const char* scene;      // in examples/
    const char* look = "";  // --paint LOOK
    std::vector<int> frames{};
};

const Example kExamples[] = {
    {"still_life", "still_life.json"},
    {"still_life_lines", "still_life_lines.json"},
    {"still_life_painted", "still_life_painted.json"},
    {"still_life_painted_lines", "still_life_painted_lines.json"},
    {"still_life_wet", "still_life.json", "wet"},
    {"multipass", "multipass.json"},
    {"turntable", "turntable.json", "", {12}},
    {"turntable_painted", "turntable.json", "default", {12}},
};

void PrintTo(const Example& example, std::ostream* out) { *out << example.name; }

struct ReferenceImages : test_support::CommandTest, ::testing::WithParamInterface<Example> {
    // The images are read on the test's own thread (as in the thread-count test).
    ReferenceImages() { OIIO::attribute("threads", 1); }
};

TEST_P(ReferenceImages, TheRenderMatchesItsReference)
{
    const Example& example = GetParam();
    app::RenderOptions o;
    o.scenePath = std::string(VML_EXAMPLES_DIR "/") + example.scene;
    o.output = (dir / (std::string(example.name) + ".png")).string();
    o.width = 160, o.height = 90;
    o.paintLook = example.look;
    o.frames = example.frames;
    o.quiet = true;
    ASSERT_EQ(app::runRender(o, core), 0);

    // The image and every render element beside it each have a reference of the same name.
    const fs::path references = VML_REFERENCE_IMAGES_DIR;
    std::vector<std::string> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ".png")
            written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    ASSERT_FALSE(written.empty());
    for (const std::string& file : written) {
        const test_support::ImageVerdict verdict =
            test_support::compareWithReference(dir / file, references / file);
        EXPECT_TRUE(verdict.pass) << file << ": " << verdict.summary;
    }
    // And no reference of the example goes unrendered (an element that stopped being written).
    const std::string prefix = std::string(example.name) + ".";
    for (const fs::directory_entry& entry : fs::directory_iterator(references)) {
        const std::string file = entry.path().filename().string();
        const bool kept = file.find(".new.") == std::string::npos && file.find(".diff.") == std::string::npos;
        if (kept && file.rfind(prefix, 0) == 0) {
            EXPECT_TRUE(std::binary_search(written.begin(), written.end(), file))
                << file << " was not rendered";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Examples, ReferenceImages, ::testing::ValuesIn(kExamples),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
