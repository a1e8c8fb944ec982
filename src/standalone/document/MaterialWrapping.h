#pragma once
// Wrapping materials in new materials' base slot (sub-material 0): a document's "wrap" and
// `vermil render --paint`.
//
// - One wrapper per distinct wrapped material, so objects that shared a material share its
//   wrapper.
// - A material of the wrapper's own class is not wrapped again: the new wrapper takes its base
//   instead, so a second wrap replaces the first rather than painting a painting.
// - Objects without a material share one wrapper that keeps the base its class gave it (for
//   vmlMaterial a default standard material, as a new one has).

#include "standalone/SceneNode.h"
#include "standalone/document/ClassObjects.h"
#include "standalone/document/Looks.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

class Mtl;

namespace standalone::document {

class MaterialWrapping {
public:
    // Makes a new, configured wrapper; fails rather than answer nullptr.
    using MakeWrapper = std::function<Mtl*()>;

    // Makes the first wrapper at once, so a bad wrapper fails even when nothing gets wrapped.
    // Failures are at `at`.
    MaterialWrapping(MakeWrapper make, JsonLocation at);

    // The wrapper of material (nullptr: none), made on first use; a wrapper of this wrapping is
    // its own answer.
    Mtl* wrap(Mtl* material);
    // Puts the wrapper of each mesh node's material on it.
    void wrapNodes(const std::vector<SceneNode*>& nodes);

private:
    Mtl* newWrapper();

    MakeWrapper make_;
    JsonLocation at_;
    Mtl* spare_ = nullptr;
    std::map<Mtl*, Mtl*> wrappers_;
    std::set<Mtl*> made_;
};

// The wrapper a document's {"look": name, "class": name, parameters...} asks for. The class is
// vmlMaterial unless given; a look's parameters are set first and the object's own keys after.
MaterialWrapping::MakeWrapper wrapperFrom(const Json& v, const JsonLocation& at, ClassObjects& classes);

// A vmlMaterial wearing the look.
MaterialWrapping::MakeWrapper wrapperFrom(const Look& look, ClassObjects& classes);

}  // namespace standalone::document
