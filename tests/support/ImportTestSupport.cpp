#include "support/ImportTestSupport.h"

#include "host/Interface.h"
#include "standalone/HostClasses.h"

#include <OpenImageIO/strutil.h>

#include <cmath>
#include <cstring>

namespace test_support {

using nlohmann::json;

Gltf::Gltf()
{
    doc = {{"asset", {{"version", "2.0"}}},
           {"scene", 0},
           {"scenes", json::array({{{"nodes", json::array()}}})},
           {"nodes", json::array()},
           {"meshes", json::array()},
           {"accessors", json::array()},
           {"bufferViews", json::array()}};
}

int Gltf::add(const std::string& array, json value)
{
    if (!doc.contains(array))
        doc[array] = json::array();
    doc[array].push_back(std::move(value));
    return static_cast<int>(doc[array].size()) - 1;
}

int Gltf::floats(const std::vector<float>& values, const std::string& type)
{
    const std::size_t width = type == "SCALAR" ? 1 : type == "VEC2" ? 2 : type == "VEC3" ? 3 : 4;
    const std::size_t offset = data_.size();
    data_.resize(offset + values.size() * sizeof(float));
    std::memcpy(data_.data() + offset, values.data(), values.size() * sizeof(float));
    const int view =
        add("bufferViews",
            {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", values.size() * sizeof(float)}});
    json accessor = {
        {"bufferView", view}, {"componentType", 5126}, {"count", values.size() / width}, {"type", type}};
    if (type == "VEC3" || type == "SCALAR") {  // positions and key times need bounds
        std::vector<float> lo(width, 1e30f), hi(width, -1e30f);
        for (std::size_t i = 0; i < values.size(); ++i)
            lo[i % width] = std::min(lo[i % width], values[i]),
                   hi[i % width] = std::max(hi[i % width], values[i]);
        accessor["min"] = lo;
        accessor["max"] = hi;
    }
    return add("accessors", accessor);
}

int Gltf::indices(const std::vector<std::uint16_t>& values)
{
    const std::size_t offset = data_.size();
    data_.resize(offset + values.size() * 2);
    std::memcpy(data_.data() + offset, values.data(), values.size() * 2);
    data_.resize((data_.size() + 3) & ~std::size_t(3));  // keep float data aligned
    const int view =
        add("bufferViews", {{"buffer", 0}, {"byteOffset", offset}, {"byteLength", values.size() * 2}});
    return add("accessors",
               {{"bufferView", view}, {"componentType", 5123}, {"count", values.size()}, {"type", "SCALAR"}});
}

int Gltf::mesh(const std::vector<float>& positions, const std::vector<std::uint16_t>& triangles,
               const std::vector<float>& normals, const std::vector<float>& uvs, int material,
               const std::string& name)
{
    json attributes = {{"POSITION", floats(positions, "VEC3")}};
    if (!normals.empty())
        attributes["NORMAL"] = floats(normals, "VEC3");
    if (!uvs.empty())
        attributes["TEXCOORD_0"] = floats(uvs, "VEC2");
    json primitive = {{"attributes", attributes}, {"indices", indices(triangles)}};
    if (material >= 0)
        primitive["material"] = material;
    json mesh = {{"primitives", json::array({primitive})}};
    if (!name.empty())
        mesh["name"] = name;
    return add("meshes", mesh);
}

int Gltf::node(json node, bool root)
{
    const int index = add("nodes", std::move(node));
    if (root)
        doc["scenes"][0]["nodes"].push_back(index);
    return index;
}

std::string Gltf::text() const
{
    json out = doc;
    const std::string bytes(data_.begin(), data_.end());
    out["buffers"] = json::array(
        {{{"byteLength", data_.size()},
          {"uri", "data:application/octet-stream;base64," + OIIO::Strutil::base64_encode(bytes)}}});
    return out.dump(2);
}

int unitSquare(Gltf& gltf, int material, const std::string& name)
{
    return gltf.mesh({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 1, 2, 0, 2, 3},
                     {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1}, {0, 1, 1, 1, 1, 0, 0, 0}, material, name);
}

void ImportFixture::SetUp()
{
    core.setQuietMode(true);
    SetCOREInterface(&core);
    standalone::registerHostClasses(core);
    test_support::registerTestClasses(core);
}

void ImportFixture::TearDown() { SetCOREInterface(nullptr); }

std::unique_ptr<standalone::Scene> ImportFixture::loadDocument(const std::string& path,
                                                               const std::string& text)
{
    warnings.clear();
    return standalone::loadScene(dir.write(path, text), core,
                                 [this](const std::string& w) { warnings.push_back(w); });
}

standalone::SceneError ImportFixture::documentError(const std::string& path, const std::string& text)
{
    try {
        loadDocument(path, text);
    } catch (const standalone::SceneError& e) {
        return e;
    }
    ADD_FAILURE() << "loaded: " << text;
    return standalone::SceneError("", "", "");
}

Point3 worldPoint(standalone::SceneNode& node, const Point3& p, TimeValue t)
{
    return node.GetObjectTM(t).PointTransform(p);
}

}  // namespace test_support
