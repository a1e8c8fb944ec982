#include "standalone/document/ImportSection.h"

#include "host/Angles.h"
#include "standalone/document/ParameterSetter.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

namespace standalone::document {

namespace {

constexpr ValueRange kScale{0.0, 1.0e6, true};

// "rotation" (degrees about X, then Y, then Z) then "position".
Matrix3 readPlacement(ObjectReader& r)
{
    const Point3 rotation = r.point("rotation").value_or(Point3());
    Matrix3 m = RotateXMatrix(radians(rotation.x)) * RotateYMatrix(radians(rotation.y)) *
                RotateZMatrix(radians(rotation.z));
    m.SetTrans(r.point("position").value_or(Point3()));
    return m;
}

UpAxis readUpAxis(ObjectReader& r)
{
    const std::string up = r.string("upAxis", "auto");
    if (up == "auto")
        return UpAxis::fromFile;
    if (up == "y")
        return UpAxis::y;
    if (up == "z")
        return UpAxis::z;
    r.at("upAxis").fail("expected \"auto\", \"y\" or \"z\", got \"" + up + "\"");
}

}  // namespace

ImportedModels::ImportedModels(Scene& scene, StandaloneCore& core, std::filesystem::path baseDir,
                               WarningHandler warn)
    : scene_(scene), core_(core), baseDir_(std::move(baseDir)), warn_(std::move(warn))
{}

void ImportedModels::read(const Json& v, const JsonLocation& at)
{
    if (v.is_array()) {
        for (std::size_t i = 0; i < v.size(); ++i)
            readEntry(v[i], at / i);
    } else {
        readEntry(v, at);
    }
}

void ImportedModels::readEntry(const Json& v, const JsonLocation& at)
{
    ImportOptions options;
    std::string file;
    JsonLocation fileAt = at;
    if (v.is_string()) {
        file = readString(v, at);
    } else if (v.is_object()) {
        ObjectReader r(v, at, "an import: a file name or {\"file\": ...}");
        file = r.requiredString("file");
        fileAt = r.at("file");
        options.scale = float(r.number("scale", 1.0, kScale));
        options.placement = readPlacement(r);
        options.prefix = r.string("prefix", "");
        options.upAxis = readUpAxis(r);
        r.finish();
    } else {
        at.fail("expected a model file name, {\"file\": ...} or an array of them, got " + describe(v));
    }
    if (file.empty())
        fileAt.fail("expected the name of a model file");
    const std::string path = resolvePath(baseDir_, file);
    ImportResult model;
    try {
        model = importModel(path, scene_, core_, options);
    } catch (const ImportError& e) {
        fileAt.fail(e.what());
    }
    if (warn_)
        for (const std::string& w : model.warnings)
            warn_(path + ": " + w);
    nodes_.insert(model.nodes.begin(), model.nodes.end());
    models_.push_back(std::move(model));
}

std::vector<std::string> ImportedModels::nodeNames() const
{
    std::vector<std::string> names;
    for (const ImportResult& model : models_)
        for (const SceneNode* node : model.nodes)
            names.push_back(node->name());
    return names;
}

const ImportResult* ImportedModels::modelOf(const SceneNode* node) const
{
    for (const ImportResult& model : models_)
        for (const SceneNode* n : model.nodes)
            if (n == node)
                return &model;
    return nullptr;
}

SceneNode* ImportedModels::firstCamera() const
{
    for (const ImportResult& model : models_)
        if (!model.cameras.empty())
            return model.cameras.front().node;
    return nullptr;
}

}  // namespace standalone::document
