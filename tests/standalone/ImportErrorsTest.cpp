#include "support/AssimpModels.h"
#include "support/ImportTestSupport.h"

#include "standalone/import/FileScreening.h"
#include "standalone/import/ModelImport.h"
#include "standalone/import/PlyScreening.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>

using namespace standalone;
using namespace test_support;

namespace {

namespace fs = std::filesystem;

// Animated: a keyframer with position, rotation and scale tracks.
const std::string kRotatingCube = test_support::assimpModel("3DS/RotatingCube.3DS");

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
    const std::string whole = readBytes(test_support::boxTexturedGlb);
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

// A 3DS chunk: id, length with the header, then the body.
std::string chunk(unsigned id, const std::string& body)
{
    const std::size_t n = body.size() + 6;
    std::string c = {char(id), char(id >> 8)};
    for (int i = 0; i < 4; ++i)
        c += char(n >> (8 * i));
    return c + body;
}

// A track of `count` keys as stored (flags, 8 unused bytes, count) followed by `keyBytes` bytes.
std::string track(unsigned id, std::uint32_t count, std::size_t keyBytes)
{
    std::string body(10, '\0');
    for (int i = 0; i < 4; ++i)
        body += char(count >> (8 * i));
    return chunk(id, body + std::string(keyBytes, '\0'));
}

std::optional<std::string> screen(const std::string& bytes)
{
    return import::screenThreeDs(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// Assimp reserves a 3DS track's keys by the stored count before reading any: a count beyond its
// chunk is refused before Assimp sees it, with the place; sound tracks pass.
TEST_F(ImportErrors, ThreeDsTracksThatClaimMoreKeysThanTheyHoldAreRefusedBeforeAssimp)
{
    const std::string whole = readBytes(kRotatingCube);
    ASSERT_GT(whole.size(), 1000u);
    EXPECT_EQ(screen(whole), std::nullopt);
    auto keyframer = [](const std::string& tracks) {
        return chunk(0x4D4D, chunk(0xB000, chunk(0xB002, chunk(0xB010, "box") + tracks)));
    };
    EXPECT_EQ(screen(keyframer(track(0xB020, 3, 3 * 18))), std::nullopt);
    EXPECT_EQ(screen(keyframer(track(0xB022, 3, 3 * 6 - 1))),
              "the keyframe track at byte 27 says it holds 3 keys, but its chunk has room for 2");
    EXPECT_NE(screen(keyframer(track(0xB021, 0xFFFFE13D, 16))), std::nullopt);
    // A track chunk outside the keyframer is none of Assimp's tracks.
    EXPECT_EQ(screen(chunk(0x4D4D, chunk(0x3D3D, track(0xB020, 1000, 0)))), std::nullopt);
    const std::string file = dir.write("scale.3ds", keyframer(track(0xB022, 0x7FFFFFFF, 12)));
    const ImportError e = failure(file);
    EXPECT_EQ(e.reason(),
              "the keyframe track at byte 27 says it holds 2147483647 keys, but its chunk has room for 2");
}

// Assimp allocates a binary glTF's JSON by the length in its header before reading it: a length
// past the end of the file is refused before Assimp sees it, with both sizes; sound files pass.
TEST_F(ImportErrors, BinaryGltfJsonLengthsPastTheFileAreRefusedBeforeAssimp)
{
    const std::string whole = readBytes(test_support::boxTexturedGlb);
    ASSERT_GT(whole.size(), 1000u);
    auto screenGlb = [](const std::string& bytes, std::uint64_t size) {
        return import::screenBinaryGltf(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), size);
    };
    EXPECT_EQ(screenGlb(whole, whole.size()), std::nullopt);
    std::uint32_t json = 0;
    for (int i = 3; i >= 0; --i)
        json = json << 8 | std::uint8_t(whole[12 + i]);
    EXPECT_EQ(screenGlb(whole.substr(0, 20), 20 + json), std::nullopt) << "the header alone is enough";
    EXPECT_NE(screenGlb(whole.substr(0, 20), 19 + json), std::nullopt);

    std::string corrupt = whole;
    corrupt.replace(12, 4, "pstp");  // 0x70747370 bytes
    const std::string file = dir.write("long-json.glb", corrupt);
    EXPECT_EQ(failure(file).reason(),
              "the binary glTF header says its JSON takes 1886679920 bytes, but the file has " +
                  std::to_string(whole.size() - 20) + " after the header");
    // Only the binary reader trusts the length; the same bytes named otherwise reach Assimp.
    EXPECT_EQ(failure(dir.write("long-json.gltf", corrupt)).reason().find("JSON takes"), std::string::npos);
}

// Assimp crashes on an image media type without a '/': such a type, given as a "mimeType" or by a
// data URI, is refused before Assimp sees the file, naming the member; sound types pass.
TEST_F(ImportErrors, GltfImageMediaTypesWithoutASlashAreRefusedBeforeAssimp)
{
    EXPECT_EQ(import::screenGltfJson(R"({"images":[{"mimeType":"image/png"},{"uri":"data:,AAAA"},
        {"uri":"data:image/jpeg;base64,AAAA"},{"uri":"textures/imagepng"}],"note":{"mimeType":[1,"x"]}})"),
              std::nullopt);
    EXPECT_EQ(
        import::screenGltfJson(R"({"images":[{"mimeType":"image/png"},{"name":"b","mimeType":"png"}]})"),
        "images[1].mimeType gives the media type \"png\", which has no '/' (a media type is "
        "\"type/subtype\", "
        "as in \"image/png\")");
    // However the text spells them.
    for (const char* spelled :
         {R"({"images":[{"mim\u0065Type":"png"}]})", R"({"images":[{"mimeType" :
        "png"}]})",
          R"({"images":[{"uri":"data:imagepng,AAAA"}]})", R"({"images":[{"uri":"data:png"}]})",
          R"({"images":[{"uri":"d\u0061ta:png;base64,AAAA"}]})"})
        EXPECT_NE(import::screenGltfJson(spelled), std::nullopt) << spelled;
    const std::optional<std::string> notUtf8 =
        import::screenGltfJson("{\"images\":[{\"bufferView\":3,\"mimeType\":\"i~\xff\xff\"}]}");
    ASSERT_TRUE(notUtf8.has_value());
    EXPECT_TRUE(notUtf8->starts_with("images[0].mimeType gives the media type \"i~??\"")) << *notUtf8;

    // A glTF 1 file, whose images are named members, with its embedded picture's data URI broken.
    std::string text =
        readBytes(test_support::assimpModel("glTF/BoxTextured-glTF-Embedded/BoxTextured.gltf"));
    const std::size_t type = text.find("data:image/png");
    ASSERT_NE(type, std::string::npos);
    text.replace(type, 14, "data:imagepng");
    const std::string reason = failure(dir.write("broken.gltf", text)).reason();
    EXPECT_TRUE(reason.starts_with("images.Image0001.uri gives the media type \"imagepng\"")) << reason;
    // JSON is checked under any name: Assimp tries its glTF readers on it when no reader claims the
    // extension.
    EXPECT_EQ(failure(dir.write("broken.dae", "\n  " + text)).reason(), reason);
}

// A triangle in PLY: `body` after a header declaring three float vertices and one face whose list
// is counted by `countType`.
std::string ply(const std::string& format, const std::string& body, const std::string& countType = "uchar")
{
    return "ply\r\nformat " + format +
           " 1.0\ncomment made by hand\nelement vertex 3\nproperty float x\n"
           "property float y\nproperty float z\nelement face 1\nproperty list " +
           countType + " int vertex_indices\nend_header\n" + body;
}

std::string floats(std::initializer_list<float> values, bool bigEndian)
{
    std::string bytes;
    for (const float v : values) {
        std::string one(reinterpret_cast<const char*>(&v), sizeof v);
        if (bigEndian)
            std::reverse(one.begin(), one.end());
        bytes += one;
    }
    return bytes;
}

// Assimp reads a PLY header until "end_header" whatever the file's end (a header without one never
// ends), and trusts the counts it gives: such files are refused before Assimp sees them, with the
// place; sound files, and every header and body Assimp reads, pass.
TEST_F(ImportErrors, PlyFilesThatBreakTheirHeaderOrCountsAreRefusedBeforeAssimp)
{
    const std::string ascii = ply("ascii", "0 0 0\n1 0 0\n\n0 1 0\n3 0 1 2\n");
    std::string face = std::string(1, '\3');
    for (const char index : {0, 1, 2})
        face += std::string{index, 0, 0, 0};
    const std::string little = ply("binary_little_endian", floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, false) + face);
    std::string bigFace = std::string(1, '\3');
    for (const char index : {0, 1, 2})
        bigFace += std::string{0, 0, 0, index};
    const std::string big = ply("binary_big_endian", floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, true) + bigFace);
    for (const std::string* sound : {&ascii, &little, &big}) {
        EXPECT_EQ(import::screenPly(*sound), std::nullopt) << *sound;
        Scene scene;
        importModel(dir.write("triangle.ply", *sound), scene, core);
        EXPECT_GT(scene.nodes().size(), 0u);
    }

    // The header. Every PLY type name passes, and the one more Assimp reads.
    EXPECT_EQ(
        import::screenPly("ply\nformat ascii 1.0\nelement vertex 1\nproperty int8 a\nproperty uint16 b\n"
                          "property float64 c\nproperty double64 d\nend_header\n1 2 3 4\n"),
        std::nullopt);
    const std::string noEnd = "ply\nformat binary_little_endian 1.0\nelement vertex 3\n";
    EXPECT_EQ(import::screenPly(noEnd), "the PLY header has no \"end_header\" line");
    EXPECT_EQ(import::screenPly("PLY\nformat ascii 1.0\ncomment end_header\n"),
              "the PLY header has no \"end_header\" line");
    EXPECT_EQ(import::screenPly("ply\nformat ascii 1.0\nelement vertex\nend_header\n"),
              "line 3 of the PLY header: \"element\" needs a name and a count");
    EXPECT_EQ(
        import::screenPly("ply\nformat ascii 1.0\nelement vertex 4294967296\nend_header\n"),
        "line 3 of the PLY header: the count of element \"vertex\" is \"4294967296\", not a whole number "
        "below 2^32");
    EXPECT_EQ(
        import::screenPly("ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\nelement vertex 2\n"
                          "property float x\nend_header\n0\n0\n0\n"),
        "line 5 of the PLY header: a second element \"vertex\" (an element's name is its own)");
    EXPECT_EQ(import::screenPly("ply\nformat ascii 1.0\nelement vertex 1\nproperty float x\ncomment\n"
                                "property float y\nobj_info\nproperty float z\nend_header\n0 0 0\n"),
              "line 8 of the PLY header: a property apart from its element (only comments may come between "
              "them)");
    EXPECT_EQ(import::screenPly("ply\nformat ascii 1.0\nproperty float x\nend_header\n"),
              "line 3 of the PLY header: a property before any element");
    EXPECT_EQ(import::screenPly(ply("ascii", "", "float")),
              "line 9 of the PLY header: a list counted by \"float\", which is not a PLY integer type");
    EXPECT_EQ(import::screenPly("ply\nformat ascii 1.0\nelement vertex 3\nproperty flaot x\nend_header\n"),
              "line 4 of the PLY header: a property of type \"flaot\", which is not a PLY type");
    // Assimp ends a line at \r, \0 or \f too, and then skips to the next \n: a line ending so would
    // be read otherwise than it is checked.
    EXPECT_EQ(
        import::screenPly("ply\nformat ascii 1.0\nelement vertex 3\rproperty float x\nend_header\n"),
        "line 3 of the PLY header: ends in the byte 0x0D alone (a PLY text line ends in \\n or \\r\\n)");
    EXPECT_EQ(
        import::screenPly(ply("ascii", "0 0 0\n1 0 0\f0 1 0\n3 0 1 2\n")),
        "instance 2 of element \"vertex\" (of 3), line 12, ends in the byte 0x0C (a PLY text line ends in "
        "\\n or \\r\\n)");
    EXPECT_EQ(import::screenPly("ply\nformat ascii 1.0\nelement vertex 99\nend_header\n"),
              "element \"vertex\" has 99 instances but no properties");

    // The body: every cut of a binary file, lists longer than their line or negative.
    for (const std::string* binary : {&little, &big})
        for (std::size_t n = binary->find("end_header\n") + 11; n < binary->size(); ++n)
            EXPECT_NE(import::screenPly(binary->substr(0, n)), std::nullopt) << n;
    EXPECT_EQ(
        import::screenPly(ascii.substr(0, ascii.size() - 2)),
        "instance 1 of element \"face\" (of 1), line 15, gives a list the length \"3\", but the line holds 2 "
        "more values");
    EXPECT_EQ(import::screenPly(ply("ascii", "0 0 0\n1 0 0\n")),
              "the PLY file ends before instance 3 of element \"vertex\" (of 3)");
    EXPECT_EQ(import::screenPly(ply("ascii", "0 0 0\n1 0 0\n0 1\n3 0 1 2\n")),
              "instance 3 of element \"vertex\" (of 3), line 13, holds fewer values than the element has "
              "properties");
    EXPECT_NE(import::screenPly(ply("ascii", "0 0 0\n1 0 0\n0 1 0\n-1 0 1 2\n")), std::nullopt);
    // Assimp aborts on a face without vertices.
    EXPECT_EQ(import::screenPly(ply("ascii", "0 0 0\n1 0 0\n0 1 0\n0\n")),
              "instance 1 of element \"face\" (of 1), line 14, lists no vertices");
    std::string negative =
        ply("binary_little_endian", floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, false) + face, "char");
    const std::size_t count = negative.find("end_header\n") + 11 + 36;
    negative[count] = '\0';
    EXPECT_EQ(import::screenPly(negative.substr(0, count + 1)),
              "instance 1 of element \"face\" (of 1) lists no vertices (at byte " + std::to_string(count) +
                  ")");
    negative[count] = '\xFF';
    EXPECT_EQ(import::screenPly(negative),
              "instance 1 of element \"face\" (of 1) gives a list the length -1 (at byte " +
                  std::to_string(count) + ")");

    // Through the import, under any name when the bytes start as PLY do.
    EXPECT_EQ(failure(dir.write("cut.ply", noEnd)).reason(), "the PLY header has no \"end_header\" line");
    EXPECT_EQ(failure(dir.write("cut.bin", noEnd)).reason(), "the PLY header has no \"end_header\" line");
}

// A file goes only to the readers of its extension: Assimp would otherwise hand a broken .gltf to
// any reader that finds its own words in the first bytes (and to that reader's faults). A file
// whose extension no reader claims is still recognised by its bytes.
TEST_F(ImportErrors, AFileIsReadOnlyAsWhatItsExtensionSays)
{
    const std::string triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
    auto imports = [&](const std::string& name) {
        Scene scene;
        importModel(dir.write(name, triangle), scene, core);
        return scene.nodes().size();
    };
    EXPECT_GT(imports("triangle.obj"), 0u);
    EXPECT_GT(imports("triangle.unknown"), 0u);
    EXPECT_FALSE(failure(dir.write("triangle.gltf", triangle)).reason().empty());
    EXPECT_FALSE(failure(dir.write("triangle.FBX", triangle)).reason().empty());
}

}  // namespace
