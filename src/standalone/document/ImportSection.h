#pragma once
// A document's "import" section: model files appended to the scene before anything else is read,
// so the rest of the document can refer to what they brought (node names for parents and
// overrides, material names to replace, cameras to render from). See docs/scene-format.md.

#include "standalone/SceneDocument.h"
#include "standalone/document/JsonLocation.h"
#include "standalone/import/ModelImport.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace standalone::document {

class ImportedModels {
public:
    ImportedModels(Scene& scene, StandaloneCore& core, std::filesystem::path baseDir, WarningHandler warn);

    // A file name, an entry {"file", "scale", "position", "rotation", "prefix", "upAxis"}, or an
    // array of either. Import failures are SceneErrors at the entry.
    void read(const Json& v, const JsonLocation& at);

    const std::vector<ImportResult>& models() const { return models_; }
    bool isImported(const SceneNode* node) const { return nodes_.count(node) != 0; }
    // Names of the imported nodes, in import order, for messages.
    std::vector<std::string> nodeNames() const;
    // The import that made node, or nullptr.
    const ImportResult* modelOf(const SceneNode* node) const;
    // The first imported camera, or nullptr.
    SceneNode* firstCamera() const;

private:
    void readEntry(const Json& v, const JsonLocation& at);

    Scene& scene_;
    StandaloneCore& core_;
    std::filesystem::path baseDir_;
    WarningHandler warn_;
    std::vector<ImportResult> models_;
    std::set<const SceneNode*> nodes_;
};

}  // namespace standalone::document
