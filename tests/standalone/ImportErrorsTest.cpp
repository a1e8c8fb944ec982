#include "ImportTestSupport.h"

#include "standalone/import/ModelImport.h"

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace standalone;
using namespace import_test;

namespace {

namespace fs = std::filesystem;

const char* const kBoxTextured = "/usr/share/assimp/models/glTF2/BoxTextured-glTF-Binary/BoxTextured.glb";

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ImportErrors : public ImportFixture {
protected:
    // The error importing path gives; fails the test when it imports.
    ImportError failure(const std::string& path)
    {
        Scene scene;
        try {
            importModel(path, scene, core);
        } catch (const ImportError& e) {
            EXPECT_EQ(scene.nodes().size(), 0u) << "a failed import adds nothing";
            return e;
        }
        ADD_FAILURE() << path << " imported";
        return ImportError(path, "");
    }
};

TEST_F(ImportErrors, MissingFilesAndFoldersNameTheFile)
{
    const std::string missing = (dir.path() / "nowhere.glb").string();
    const ImportError e = failure(missing);
    EXPECT_EQ(e.file(), missing);
    EXPECT_EQ(std::string(e.what()), missing + ": cannot import: no such file");
    EXPECT_NE(failure(dir.path().string()).reason().find("directory"), std::string::npos);
}

TEST_F(ImportErrors, CorruptFilesGiveAssimpsReason)
{
    const std::string garbage = dir.write("garbage.glb", "glTF\x02\0\0\0 certainly not a model");
    const ImportError e = failure(garbage);
    EXPECT_EQ(e.file(), garbage);
    EXPECT_FALSE(e.reason().empty());
    EXPECT_NE(std::string(e.what()).find(garbage), std::string::npos);
    failure(dir.write("empty.obj", ""));
    failure(dir.write("points.obj", "v 0 0 0\nv 1 0 0\np 1 2\n"));  // nothing to render
    Gltf gltf;
    gltf.node({{"name", "Panel"}, {"mesh", unitSquare(gltf)}});
    const std::string text = gltf.text();
    for (std::size_t n : {text.size() / 4, text.size() / 2, text.size() - 3})
        failure(dir.write("cut.gltf", text.substr(0, n)));
}

TEST_F(ImportErrors, EveryTruncationOfABinaryGltfFailsCleanly)
{
    const std::string whole = readBytes(kBoxTextured);
    ASSERT_GT(whole.size(), 1000u);
    // Header, JSON chunk, binary chunk, embedded image: every region, and each region's edges.
    std::vector<std::size_t> lengths = {0, 1, 11, 12, 19, 20, 21, whole.size() - 1};
    for (std::size_t n = 24; n < whole.size(); n += 97)
        lengths.push_back(n);
    for (std::size_t n : lengths) {
        const std::string cut = dir.write("cut" + std::to_string(n) + ".glb", whole.substr(0, n));
        const ImportError e = failure(cut);
        EXPECT_FALSE(e.reason().empty()) << n << " bytes";
    }
}

}  // namespace
