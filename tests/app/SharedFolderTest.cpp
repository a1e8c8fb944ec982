// The files a scene needs and whether they lie in the folder every node sees.

#include "support/CommandTestSupport.h"

#include "app/SceneFiles.h"
#include "app/SharedFolder.h"
#include "standalone/SceneDocument.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using test_support::CommandTest;
using SharedFolder = CommandTest;

TEST_F(SharedFolder, PathsOutsideIncludingThroughLinksAndDotDot)
{
    fs::create_directories(dir / "shared" / "textures");
    fs::create_directories(dir / "local");
    fs::create_directory_symlink(dir / "local", dir / "shared" / "link");
    const std::string shared = (dir / "shared").string();
    const std::vector<std::string> paths{
        (dir / "shared/scene.json").string(), (dir / "shared/textures/a b.png").string(),
        (dir / "shared/../local/c.png").string(), (dir / "shared/link/d.png").string(),
        (dir / "shared-other/e.png").string()};
    EXPECT_EQ(app::outsideFolder(paths, shared), (std::vector<std::string>{paths[2], paths[3], paths[4]}));
    EXPECT_TRUE(app::outsideFolder(paths, "/").empty());
}

TEST_F(SharedFolder, SceneFilesAreTheDocumentImportsAndFileParameters)
{
    const std::string gltf = temp.write("models/box.gltf", R"({"asset": {"version": "2.0"},
      "buffers": [{"uri": "box.bin"}, {"uri": "data:application/octet-stream;base64,AAAA"}],
      "images": [{"uri": "../textures/wood.png"}]})");
    const std::string obj = temp.write("models/cup.obj", "mtllib cup materials.mtl\nv 0 0 0\n");
    EXPECT_EQ(
        app::modelCompanionFiles(gltf),
        (std::vector<std::string>{(dir / "models/box.bin").string(), (dir / "textures/wood.png").string()}));
    EXPECT_EQ(app::modelCompanionFiles(obj),
              (std::vector<std::string>{(dir / "models/cup materials.mtl").string()}));

    const std::string scene = fs::path(VML_EXAMPLES_DIR) / "turntable.json";
    const auto loaded = standalone::loadScene(scene, core);
    EXPECT_EQ(
        app::sceneFiles(*loaded, scene),
        (std::vector<std::string>{(fs::path(VML_EXAMPLES_DIR) / "textures/linen.png").string(), scene}));
}

}  // namespace
