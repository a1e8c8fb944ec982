#include "support/ImportTestSupport.h"

#include "standalone/import/MeshImport.h"
#include "standalone/import/ModelImport.h"

#include <assimp/mesh.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <set>

using namespace standalone;
using namespace test_support;
using nlohmann::json;

namespace {

// A node's normal in world space (the inverse transpose of its object transform).
Point3 worldNormal(SceneNode& node, const Point3& n)
{
    const Matrix3 inv = Inverse(node.GetObjectTM(0));
    return Normalize(Point3(DotProd(inv.GetRow(0), n), DotProd(inv.GetRow(1), n), DotProd(inv.GetRow(2), n)));
}

// The normal of a face's corner k.
Point3 cornerNormal(const Mesh& mesh, std::size_t f, int k) { return mesh.normals[mesh.normalFaces[f].t[k]]; }

using GeometryImport = ImportFixture;

TEST_F(GeometryImport, YUpFilesStandUpInTheZUpWorldWithTheirUVs)
{
    Gltf gltf;
    gltf.node({{"name", "Panel"}, {"translation", {1, 2, 3}}, {"mesh", unitSquare(gltf)}});
    Scene scene;
    const ImportResult model = importModel(dir.write("panel.gltf", gltf.text()), scene, core);
    SceneNode* panel = scene.findNode("Panel");
    ASSERT_TRUE(panel && panel->mesh());
    EXPECT_EQ(panel->GetParentNode(), model.root);
    // glTF's up (+Y) is the world's +Z; its front (+Z, toward the viewer) is the world's -Y.
    expectNear(worldPoint(*panel, Point3(0, 1, 0)), Point3(1, -3, 3));
    expectNear(worldPoint(*panel, Point3(0, 0, 1)), Point3(1, -4, 2));
    const Mesh& mesh = *panel->mesh();
    ASSERT_TRUE(mesh.hasNormals());
    for (const Point3& n : mesh.normals)
        expectNear(worldNormal(*panel, n), Point3(0, -1, 0));
    ASSERT_TRUE(mesh.hasUVs());
    // glTF's v runs down the image; the host's runs up, so u, v follow the square's x, y.
    for (std::size_t f = 0; f < mesh.faces.size(); ++f)
        for (int k = 0; k < 3; ++k) {
            const Point3& p = mesh.verts[mesh.faces[f].v[k]];
            expectNear(mesh.tVerts[mesh.tvFace[f].t[k]], Point3(p.x, p.y, 0));
        }
}

TEST_F(GeometryImport, MirroringNodesKeepTheirFrontFacesInFront)
{
    Gltf gltf;
    const int square = unitSquare(gltf);
    gltf.node({{"name", "Plain"}, {"mesh", square}});
    gltf.node({{"name", "Mirrored"}, {"scale", {-1, 1, 1}}, {"mesh", square}});
    Scene scene;
    importModel(dir.write("mirror.gltf", gltf.text()), scene, core);
    for (const char* name : {"Plain", "Mirrored"}) {
        SceneNode& node = *scene.findNode(name);
        const Mesh& mesh = *node.mesh();
        for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
            const Point3 a = worldPoint(node, mesh.verts[mesh.faces[f].v[0]]);
            const Point3 b = worldPoint(node, mesh.verts[mesh.faces[f].v[1]]);
            const Point3 c = worldPoint(node, mesh.verts[mesh.faces[f].v[2]]);
            const Point3 winding = Normalize(CrossProd(b - a, c - a));
            EXPECT_GT(DotProd(winding, worldNormal(node, cornerNormal(mesh, f, 0))), 0.99f) << name;
        }
    }
}

TEST_F(GeometryImport, NamesStayUniqueAndMeshesSplitByMaterialGetAChildEach)
{
    Gltf gltf;
    const int red = gltf.add("materials", {{"name", "Red"}});
    const int blue = gltf.add("materials", {{"name", "Blue"}});
    const int square = unitSquare(gltf, red, "Square");
    // One mesh, two primitives of different materials: Assimp makes two meshes of it.
    const int twoTone = unitSquare(gltf, red, "TwoTone");
    json second = gltf.doc["meshes"][twoTone]["primitives"][0];
    second["material"] = blue;
    gltf.doc["meshes"][twoTone]["primitives"].push_back(second);
    gltf.node({{"name", "Part"}, {"mesh", square}});
    gltf.node({{"name", "Part"}, {"mesh", square}});
    gltf.node({{"name", "Sign"}, {"mesh", twoTone}});
    const std::string file = dir.write("parts.gltf", gltf.text());
    Scene scene;
    scene.addNode("Part");  // already taken in the scene
    const ImportResult first = importModel(file, scene, core);
    ImportOptions prefixed;
    prefixed.prefix = "B_";
    const ImportResult again = importModel(file, scene, core);
    const ImportResult other = importModel(file, scene, core, prefixed);
    std::set<std::string> names;
    for (const auto& node : scene.nodes())
        EXPECT_TRUE(names.insert(node->name()).second) << "duplicate node name " << node->name();
    EXPECT_EQ(first.root->name() + again.root->name() + other.root->name(), "partsparts.1B_parts");
    for (const char* name : {"Part.3", "B_Part.1"})
        EXPECT_NE(scene.findNode(name), nullptr) << name;
    SceneNode* sign = scene.findNode("Sign");
    ASSERT_NE(sign, nullptr);
    EXPECT_EQ(sign->mesh(), nullptr);
    ASSERT_EQ(sign->NumberOfChildren(), 2);
    std::set<std::string> materials;
    for (int i = 0; i < 2; ++i) {
        auto* child = dynamic_cast<SceneNode*>(sign->GetChildNode(i));
        ASSERT_TRUE(child->mesh() && child->GetMtl());
        materials.insert(child->GetMtl()->GetName());
    }
    EXPECT_EQ(materials, (std::set<std::string>{"Red", "Blue"}));
    EXPECT_EQ(scene.findNode("Part.3")->GetMtl()->GetName(), "Red.1") << "material names stay unique too";
    EXPECT_EQ(scene.findNode("B_Part")->GetMtl()->GetName(), "B_Red");
    EXPECT_EQ(scene.findNode("Part.1")->mesh(), scene.findNode("Part.2")->mesh()) << "instances share a mesh";
}

// A mesh built by hand, as an importer could hand it over.
struct HandMesh {
    aiMesh mesh;

    HandMesh(std::vector<aiVector3D> positions, const std::vector<std::vector<unsigned>>& faces)
    {
        mesh.mNumVertices = static_cast<unsigned>(positions.size());
        mesh.mVertices = new aiVector3D[positions.size()];
        std::copy(positions.begin(), positions.end(), mesh.mVertices);
        mesh.mNumFaces = static_cast<unsigned>(faces.size());
        mesh.mFaces = new aiFace[faces.size()];
        for (std::size_t f = 0; f < faces.size(); ++f) {
            mesh.mFaces[f].mNumIndices = static_cast<unsigned>(faces[f].size());
            mesh.mFaces[f].mIndices = new unsigned[faces[f].size()];
            std::copy(faces[f].begin(), faces[f].end(), mesh.mFaces[f].mIndices);
        }
    }
    void normals(std::vector<aiVector3D> n)
    {
        mesh.mNormals = new aiVector3D[n.size()];
        std::copy(n.begin(), n.end(), mesh.mNormals);
    }
    void uvs(std::vector<aiVector3D> uv)
    {
        mesh.mTextureCoords[0] = new aiVector3D[uv.size()];
        mesh.mNumUVComponents[0] = 2;
        std::copy(uv.begin(), uv.end(), mesh.mTextureCoords[0]);
    }
};

TEST(MeshImport, UnusableFacesAreDroppedAndBadNormalsAndUVsRepaired)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    HandMesh hand({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {nan, 0, 0}, {2, 0, 0}, {0, 0, 5}},
                  {{0, 1, 2},     // the one good triangle
                   {0, 1, 3},     // a vertex that is not finite
                   {0, 1, 9},     // an index out of range
                   {0, 0, 2},     // a repeated corner
                   {0, 1, 4},     // three points on a line
                   {0, 1, 2, 5},  // not a triangle
                   {}});          // no corners at all
    hand.normals({{0, 0, 1}, {0, 0, 1}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    hand.uvs({{0, 0, 0}, {nan, 1, 0}, {0, 1, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}});
    import::MeshRepairs repairs;
    const auto mesh = import::importMesh(hand.mesh, false, repairs);
    ASSERT_NE(mesh, nullptr);
    EXPECT_EQ(mesh->faces.size(), 1u);
    EXPECT_EQ(mesh->verts.size(), 3u) << "vertices no face uses are left out";
    EXPECT_EQ(repairs.droppedFaces, 6);
    EXPECT_EQ(repairs.repairedNormals, 1);
    EXPECT_EQ(repairs.repairedUVs, 1);
    for (int k = 0; k < 3; ++k)
        expectNear(cornerNormal(*mesh, 0, k), Point3(0, 0, 1));
    expectNear(mesh->tVerts[mesh->tvFace[0].t[1]], Point3(0, 0, 0));
    // Nothing usable gives no mesh.
    HandMesh degenerate({{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {{0, 1, 2}});
    repairs = {};
    EXPECT_EQ(import::importMesh(degenerate.mesh, false, repairs), nullptr);
    EXPECT_EQ(repairs.droppedFaces, 1);
    aiMesh empty;
    EXPECT_EQ(import::importMesh(empty, false, repairs), nullptr);
}

TEST(MeshImport, FlippedWindingKeepsNormalsOutward)
{
    HandMesh hand({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}});
    hand.normals({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}});  // all replaced by the face normal
    import::MeshRepairs repairs;
    const auto mesh = import::importMesh(hand.mesh, true, repairs);
    ASSERT_NE(mesh, nullptr);
    EXPECT_LT(mesh->faceNormal(0).z, 0.0f) << "the winding is reversed";
    expectNear(cornerNormal(*mesh, 0, 0), Point3(0, 0, 1));
}

}  // namespace
