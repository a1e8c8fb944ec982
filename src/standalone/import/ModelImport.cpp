#include "standalone/import/ModelImport.h"

#include "host/Mtl.h"
#include "standalone/import/AssimpFile.h"
#include "standalone/import/AssimpValues.h"
#include "standalone/import/AxisConversion.h"
#include "standalone/import/CameraImport.h"
#include "standalone/import/LightImport.h"
#include "standalone/import/MaterialImport.h"
#include "standalone/import/MeshImport.h"
#include "standalone/import/TextureImport.h"
#include "standalone/import/UniqueNames.h"

#include <assimp/scene.h>

#include <fmt/format.h>

#include <filesystem>
#include <set>

namespace standalone {

namespace {

namespace fs = std::filesystem;
using namespace import;

// Deeper hierarchies are refused: transforms are composed recursively.
constexpr int kMaxDepth = 1000;

// Walks one file's node hierarchy once, making a scene node for each file node and converting what
// it carries; meshes and materials are converted on first use and shared after.
class HierarchyBuilder {
public:
    HierarchyBuilder(const std::string& path, Scene& scene, StandaloneCore& core,
                     const ImportOptions& options, const AssimpFile& file);
    ImportResult run();

private:
    SceneNode* addNode(const std::string& name, const std::string& fallback, SceneNode* parent);
    void addNodeObjects(const aiNode& source, SceneNode* node, const aiCamera* camera, const aiLight* light);
    std::shared_ptr<const Mesh> mesh(unsigned index, bool mirrored);
    void attachCamera(SceneNode* node, const aiCamera& camera);
    void attachLight(SceneNode* node, const aiLight& light);

    const std::string& path_;
    Scene& scene_;
    const ImportOptions& options_;
    const aiScene& ai_;
    SourceFormat format_;
    ImportResult result_;
    UniqueNames nodeNames_, materialNames_;
    TextureImporter textures_;
    MaterialImporter materials_;
    std::map<std::string, TransformKeys> keys_;
    std::map<std::string, const aiCamera*> cameras_;
    std::map<std::string, const aiLight*> lights_;
    std::map<std::pair<unsigned, bool>, std::shared_ptr<const Mesh>> meshes_;
};

HierarchyBuilder::HierarchyBuilder(const std::string& path, Scene& scene, StandaloneCore& core,
                                   const ImportOptions& options, const AssimpFile& file)
    : path_(path), scene_(scene), options_(options), ai_(file.scene()), format_(file.format()),
      textures_(scene, core, file.scene(), fs::absolute(path), result_.warnings),
      materials_(scene, core, file.scene(), textures_, materialNames_, options.prefix, result_.warnings)
{
    result_.file = path;
    for (const auto& node : scene.nodes()) {
        nodeNames_.reserve(node->name());
        if (Mtl* mtl = node->GetMtl())
            materialNames_.reserve(mtl->GetName());
    }
    if (ai_.mNumAnimations > 0 && ai_.mAnimations && ai_.mAnimations[0])
        keys_ = importAnimation(*ai_.mAnimations[0]);
    for (unsigned i = 0; ai_.mCameras && i < ai_.mNumCameras; ++i)
        if (const aiCamera* c = ai_.mCameras[i])
            cameras_.emplace(toString(c->mName), c);
    for (unsigned i = 0; ai_.mLights && i < ai_.mNumLights; ++i)
        if (const aiLight* l = ai_.mLights[i])
            lights_.emplace(toString(l->mName), l);
}

SceneNode* HierarchyBuilder::addNode(const std::string& name, const std::string& fallback, SceneNode* parent)
{
    SceneNode* node = scene_.addNode(
        nodeNames_.claim(name.empty() ? "" : options_.prefix + name, options_.prefix + fallback), parent);
    result_.nodes.push_back(node);
    return node;
}

std::shared_ptr<const Mesh> HierarchyBuilder::mesh(unsigned index, bool mirrored)
{
    const auto key = std::make_pair(index, mirrored);
    if (auto it = meshes_.find(key); it != meshes_.end())
        return it->second;
    const aiMesh& source = *ai_.mMeshes[index];
    MeshRepairs repairs;
    std::shared_ptr<const Mesh> mesh = importMesh(source, mirrored, repairs);
    // Report each mesh once, however often it is instanced.
    if (!meshes_.count(std::make_pair(index, !mirrored))) {
        const std::string name = source.mName.length ? toString(source.mName) : fmt::format("#{}", index);
        if (!mesh)
            result_.warnings.push_back(fmt::format("mesh \"{}\": no usable triangles; left out", name));
        else if (repairs.droppedFaces > 0)
            result_.warnings.push_back(
                fmt::format("mesh \"{}\": {} faces left out (not triangles, vertex indices out of range, "
                            "vertices not finite, or no area)",
                            name, repairs.droppedFaces));
        if (mesh && repairs.repairedNormals > 0)
            result_.warnings.push_back(fmt::format(
                "mesh \"{}\": {} unusable normals replaced by face normals", name, repairs.repairedNormals));
        if (mesh && repairs.repairedUVs > 0)
            result_.warnings.push_back(fmt::format("mesh \"{}\": {} UVs that are not finite set to (0, 0)",
                                                   name, repairs.repairedUVs));
    }
    return meshes_[key] = mesh;
}

// The object offset of a camera or light: its frame, after undoing the scale (and mirroring) the
// node inherits, so camera and light spaces are in world units.
Matrix3 unscaledOffset(SceneNode* node, const Matrix3& frame)
{
    const Matrix3 world = node->GetNodeTM(0);
    const float k = 1.0f / uniformScale(world);
    return ScaleMatrix(Point3(determinant(world) < 0.0f ? -k : k, k, k)) * frame;
}

void HierarchyBuilder::attachCamera(SceneNode* node, const aiCamera& camera)
{
    const CameraImport c = importCamera(camera, format_, options_.scale, result_.warnings);
    node->setObjectOffset(unscaledOffset(node, c.frame));
    node->camera = c.settings;
    result_.cameras.push_back({node, c.aspect});
}

void HierarchyBuilder::attachLight(SceneNode* node, const aiLight& light)
{
    std::optional<LightImport> l =
        importLight(light, format_, lightUnitsOf(ai_, format_, options_.scale), result_.warnings);
    if (!l)
        return;
    node->setObjectOffset(unscaledOffset(node, l->frame));
    node->light = l->settings;
    result_.lights.push_back(node);
}

void HierarchyBuilder::addNodeObjects(const aiNode& source, SceneNode* node, const aiCamera* camera,
                                      const aiLight* light)
{
    const bool mirrored = determinant(node->GetNodeTM(0)) < 0.0f;
    std::vector<std::pair<std::shared_ptr<const Mesh>, const aiMesh*>> meshes;
    for (unsigned i = 0; source.mMeshes && i < source.mNumMeshes; ++i) {
        const unsigned index = source.mMeshes[i];
        if (index >= ai_.mNumMeshes || !ai_.mMeshes || !ai_.mMeshes[index]) {
            result_.warnings.push_back(
                fmt::format("node \"{}\": mesh index {} is out of range; left out", node->name(), index));
            continue;
        }
        if (auto m = mesh(index, mirrored))
            meshes.emplace_back(std::move(m), ai_.mMeshes[index]);
    }
    // A node carries one object: with a camera, a light or several meshes, meshes go one level down.
    const bool carries = meshes.size() == 1 && !camera && !light && node != result_.root;
    for (const auto& [m, source] : meshes) {
        SceneNode* holder = carries ? node : addNode(toString(source->mName), node->name(), node);
        holder->setMesh(m);
        holder->setMtl(materials_.material(source->mMaterialIndex));
    }
    if (camera)
        attachCamera(node, *camera);
    if (light)
        attachLight(camera ? addNode(toString(light->mName), "light", node) : node, *light);
}

ImportResult HierarchyBuilder::run()
{
    const aiNode& top = *ai_.mRootNode;
    const std::string topName = toString(top.mName);
    // A file root that carries nothing is only a frame (Assimp's own root, a Collada visual scene,
    // 3DS's turn to Y up): it folds into the import root. glTF's importer makes a lone root node of
    // the file the root itself; that one keeps its name.
    const bool collapse = top.mNumMeshes == 0 && !keys_.count(topName) && !cameras_.count(topName) &&
                          !lights_.count(topName) && (format_ != SourceFormat::gltf2 || topName == "ROOT");
    Matrix3 conversion = axisConversion(ai_, options_.upAxis);
    if (collapse) {
        Matrix3 topTM = toMatrix3(top.mTransformation);
        if (!isFinite(topTM)) {
            result_.warnings.push_back(
                fmt::format("node \"{}\": transform not finite; identity used", topName));
            topTM = Matrix3();
        }
        conversion = topTM * conversion;
    }
    const std::string rootName =
        options_.rootName.empty() ? fs::path(path_).stem().string() : options_.rootName;
    result_.root = addNode(rootName, "model", nullptr);
    result_.rootBasis = conversion;
    result_.root->setLocalTM(conversion *
                             ScaleMatrix(Point3(options_.scale, options_.scale, options_.scale)) *
                             options_.placement);

    struct Visit {
        const aiNode* source;
        SceneNode* parent;
        int depth;
    };
    std::vector<Visit> stack{{&top, nullptr, 0}};
    std::set<const aiNode*> seen;
    while (!stack.empty()) {
        const Visit visit = stack.back();
        stack.pop_back();
        const aiNode& source = *visit.source;
        if (!seen.insert(&source).second)
            continue;
        if (visit.depth > kMaxDepth)
            throw ImportError(path_, fmt::format("the node hierarchy is deeper than {} levels", kMaxDepth));
        const std::string name = toString(source.mName);
        // Objects and keys go to the first node of a name; later namesakes get none.
        auto take = [&](auto& byName) -> decltype(byName.begin()->second) {
            auto it = byName.find(name);
            if (it == byName.end())
                return {};
            auto value = std::move(it->second);
            byName.erase(it);
            return value;
        };
        const aiCamera* camera = take(cameras_);
        const aiLight* light = take(lights_);
        const TransformKeys keys = take(keys_);

        SceneNode* node = result_.root;
        if (&source != &top || !collapse) {
            node = addNode(name, "node", visit.parent ? visit.parent : result_.root);
            Matrix3 local = toMatrix3(source.mTransformation);
            if (!isFinite(local)) {
                result_.warnings.push_back(
                    fmt::format("node \"{}\": transform not finite; identity used", node->name()));
                local = Matrix3();
            }
            node->setLocalTM(local);
            if (!keys.empty()) {
                node->setAnimation(keys.animation());
                result_.animation[node] = keys;
            }
        }
        addNodeObjects(source, node, camera, light);
        for (unsigned i = source.mNumChildren; source.mChildren && i-- > 0;)
            if (source.mChildren[i])
                stack.push_back({source.mChildren[i], node, visit.depth + 1});
    }

    for (const auto& [name, camera] : cameras_)
        result_.warnings.push_back(fmt::format("camera \"{}\": no node of that name; left out", name));
    for (const auto& [name, light] : lights_)
        result_.warnings.push_back(fmt::format("light \"{}\": no node of that name; left out", name));
    if (!keys_.empty())
        result_.warnings.push_back(
            fmt::format("animation: keys of {} nodes that are not in the hierarchy left out", keys_.size()));
    result_.materials = materials_.made();
    return std::move(result_);
}

}  // namespace

ImportResult importModel(const std::string& path, Scene& scene, StandaloneCore& core,
                         const ImportOptions& options)
{
    if (!std::isfinite(options.scale) || options.scale <= 0.0f)
        throw ImportError(path, fmt::format("the scale must be a number above 0, got {:g}", options.scale));
    if (!isFinite(options.placement))
        throw ImportError(path, "the placement must be a finite transform");
    if (!core.findClass("Standard"))
        throw ImportError(path, "the host's \"Standard\" material class is not registered");
    const AssimpFile file(path);
    const aiScene& ai = file.scene();
    bool usable = ai.mNumCameras > 0 || ai.mNumLights > 0;
    for (unsigned i = 0; !usable && ai.mMeshes && i < ai.mNumMeshes; ++i)
        usable = ai.mMeshes[i] && ai.mMeshes[i]->mNumFaces > 0;
    if (!usable)
        throw ImportError(path, "the file holds no meshes, cameras or lights");
    return HierarchyBuilder(path, scene, core, options, file).run();
}

}  // namespace standalone
