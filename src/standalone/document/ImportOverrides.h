#pragma once
// How a document changes what it imported, once its own materials exist:
//
// - a material in "materials" named like an imported material takes its place on every imported
//   node that used it;
// - "assign" puts a material (a name from "materials", an imported material's name, or an inline
//   material of any class) on imported objects chosen by name or glob pattern ("*", "Wheel?"),
//   or wraps their own materials in new ones ("wrap", see MaterialWrapping.h); a chosen node
//   passes the material to the mesh nodes below it;
// - "overrides" change an imported node's position, rotation, scale (each replacing that part of
//   its local transform, and the file's keys for it), hidden and renderable switches, and an
//   imported light's settings (on, multiplier, colour, shadows).
//
// Unknown names fail listing the imported ones.

#include "standalone/document/ClassObjects.h"
#include "standalone/document/ImportSection.h"

namespace standalone::document {

void replaceImportedMaterials(const ImportedModels& models, ClassObjects& classes);

// "assign": [{"objects": [name or pattern, ...], "material": ... or "wrap": {...}}, ...]
void assignImportedMaterials(const Json& v, const JsonLocation& at, const ImportedModels& models,
                             ClassObjects& classes);

// "overrides": [{"node": name, "position", "rotation", "scale", "hidden", "renderable"}, ...];
// on lights also "on", "multiplier", "color", "castShadows" and "shadowBias".
void overrideImportedNodes(const Json& v, const JsonLocation& at, const ImportedModels& models,
                           const WarningHandler& warn);

}  // namespace standalone::document
