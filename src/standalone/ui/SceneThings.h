#pragma once
// Finding the things of a scene that have rollouts, by the names a user gives them.

#include <string>

class Effect;
class MtlBase;

namespace standalone {

class Scene;

// The material (or, with wantMap, the map) of that name worn anywhere in the scene (sub-materials
// and sub-maps included) or used as its environment map, or nullptr.
MtlBase* findMaterialOrMap(Scene& scene, const std::string& name, bool wantMap);

// The effect of that name, else the one at that place in the scene's list (from 0, for effects
// without a name), or nullptr.
Effect* findEffect(Scene& scene, const std::string& nameOrIndex);

}  // namespace standalone
