// The layer names of multi-layer OpenEXR files: made safe, unique, and picked by name.

#include "standalone/images/ExrLayers.h"

#include "host/GBufferChannels.h"

#include <gtest/gtest.h>

namespace {

using standalone::exrLayers;

std::vector<std::string> namesOf(const std::vector<standalone::ExrLayer>& layers)
{
    std::vector<std::string> names;
    for (const auto& l : layers)
        names.push_back(l.name);
    return names;
}

TEST(ExrLayers, ElementNamesBecomeSafeUniqueLayerNames)
{
    // The system's own name for a new line element is half Japanese.
    const auto layers = exrLayers(
        {"Vermil+ \xEF\xBE\x97\xEF\xBD\xB2\xEF\xBE\x9D", "my lines.v2", "Z", "lines", "lines", "", "beauty"});
    EXPECT_EQ(namesOf(layers), (std::vector<std::string>{"beauty", "Vermil", "my_lines_v2", "Z_2", "lines",
                                                         "lines_2", "element5", "beauty_2", "Z", "N",
                                                         "objectId", "materialId", "velocity", "coverage"}));
    EXPECT_EQ(layers[2].channels,
              (std::vector<std::string>{"my_lines_v2.R", "my_lines_v2.G", "my_lines_v2.B", "my_lines_v2.A"}));
    EXPECT_EQ(layers[2].element, 1);
}

TEST(ExrLayers, PickingKeepsFileOrderAndAsksOnlyForTheGBufferItReads)
{
    const auto all = exrLayers({"lines"});
    std::string error;
    const auto picked = standalone::pickExrLayers(all, {"velocity", "N", "beauty"}, error);
    ASSERT_TRUE(picked);
    EXPECT_EQ(namesOf(*picked), (std::vector<std::string>{"beauty", "N", "velocity"}));
    EXPECT_EQ(standalone::exrGBufferChannels(*picked),
              BMM_CHAN_NORMAL | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_VELOC);
    EXPECT_EQ(standalone::exrGBufferChannels({all[0], all[1]}), BMM_CHAN_NONE);
    EXPECT_FALSE(standalone::pickExrLayers(all, {"normals"}, error));
    EXPECT_EQ(error,
              "unknown layer \"normals\"; this scene can write: beauty, lines, Z, N, objectId, materialId, "
              "velocity, coverage");
    EXPECT_TRUE(standalone::isExrPath("shot.EXR"));
    EXPECT_FALSE(standalone::isExrPath("shot.exr.png"));
}

}  // namespace
