#pragma once
// How a model file is placed in the scene and named.

#include "host/Matrix3.h"

#include <string>

namespace standalone {

// The file's up axis. fromFile: the axes its metadata names (FBX), else Y up, which is what
// Assimp delivers for glTF, OBJ and most formats (it turns Z-up Collada and 3DS files Y-up).
enum class UpAxis { fromFile, y, z };

struct ImportOptions {
    float scale = 1.0f;  // world units per file unit; above 0
    // Where the model goes, after the conversion to Z up and the scale: rotation and translation.
    Matrix3 placement;
    std::string prefix;    // put before every imported node and material name
    std::string rootName;  // the import root's name; empty: the file name without its extension
    UpAxis upAxis = UpAxis::fromFile;
};

}  // namespace standalone
