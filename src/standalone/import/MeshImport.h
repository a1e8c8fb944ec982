#pragma once
// An Assimp mesh as a host Mesh, checked: faces that are not triangles, index vertices outside the
// mesh, touch a vertex that is not finite, or have no area are dropped; vertices no face uses are
// left out. Normals are the file's (or Assimp's generated ones) per corner, made unit length; a
// corner whose normal is missing, zero or not finite gets its face's normal. UV channel 0 becomes
// the texture vertices; UVs that are not finite become (0, 0).

#include "host/Mesh.h"

#include <memory>

struct aiMesh;

namespace standalone::import {

struct MeshRepairs {
    int droppedFaces = 0;     // faces left out
    int repairedNormals = 0;  // corners that got their face's normal
    int repairedUVs = 0;      // texture vertices set to (0, 0)
};

// nullptr when no face is left. flipWinding reverses every face (for nodes that mirror).
std::shared_ptr<Mesh> importMesh(const aiMesh& source, bool flipWinding, MeshRepairs& repairs);

}  // namespace standalone::import
