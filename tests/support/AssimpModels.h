#pragma once
// The sample models of Debian's assimp-testmodels package (bootstrap installs it), which the
// import tests read: one folder, named once.

#include <string>

namespace test_support {

inline const std::string assimpModels = "/usr/share/assimp/models/";

inline std::string assimpModel(const std::string& relative) { return assimpModels + relative; }

// The textured box that several tests import.
inline const std::string boxTexturedGlb = assimpModel("glTF2/BoxTextured-glTF-Binary/BoxTextured.glb");

}  // namespace test_support
