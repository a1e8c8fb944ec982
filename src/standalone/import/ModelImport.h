#pragma once
// Appending a model file (FBX, glTF/GLB, OBJ, 3DS, DAE and whatever else Assimp reads) to a scene.
//
// Everything lands under one new group node, the import root, named after the file. Below it the
// file's node hierarchy keeps its names (made unique among the scene's nodes) and local
// transforms. A node with one mesh carries it; a node with several (Assimp splits meshes by
// material) gets one child per mesh, named after the mesh. Meshes under a mirroring transform
// are wound the other way so their front faces stay in front. Cameras and lights sit on their
// node; their file-given position and aim, and the inverse of the scale the node inherits (so
// camera and light spaces are in world units), are the node's object offset. The first
// animation's node channels become keyframes. See ImportOptions for axes and units,
// MeshImport.h, MaterialImport.h, CameraImport.h, LightImport.h and AnimationImport.h for how
// each kind of object is converted.

#include "standalone/Scene.h"
#include "standalone/StandaloneCore.h"
#include "standalone/import/AnimationImport.h"
#include "standalone/import/ImportError.h"
#include "standalone/import/ImportOptions.h"

#include <map>
#include <string>
#include <vector>

class Mtl;

namespace standalone {

struct ImportedCamera {
    SceneNode* node = nullptr;
    float aspect = 0.0f;  // the file's width / height; 0 when it gives none
};

struct ImportResult {
    std::string file;
    SceneNode* root = nullptr;
    // The root's local transform is rootBasis * ScaleMatrix(scale) * placement; rootBasis turns the
    // file's axes into the world's (and holds the file root node's own transform).
    Matrix3 rootBasis;
    std::vector<SceneNode*> nodes;                          // root first, parents before children
    std::vector<ImportedCamera> cameras;                    // in the file's order
    std::vector<SceneNode*> lights;                         // in the file's order
    std::vector<Mtl*> materials;                            // the materials of the file that meshes use
    std::map<SceneNode*, import::TransformKeys> animation;  // keys of the animated nodes
    std::vector<std::string> warnings;                      // what was repaired, approximated or left out
};

// Throws ImportError when the file cannot be read or holds no meshes, cameras or lights, and for
// options out of range. The scene and core must have the host's classes registered ("Standard",
// "Bitmap").
ImportResult importModel(const std::string& path, Scene& scene, StandaloneCore& core,
                         const ImportOptions& options = {});

}  // namespace standalone
