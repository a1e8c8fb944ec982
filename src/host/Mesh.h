#pragma once
// A triangle mesh in object space: positions, faces, texture vertices and explicit normals.
// Each face has three vertex indices, and parallel per-corner indices into the texture
// vertices and the normals, so a vertex may carry several UVs or normals (seams, hard edges).

#include "host/MaxTypes.h"
#include "host/Point3.h"

#include <cstdint>
#include <vector>

struct Face {
    DWORD v[3] = {0, 0, 0};
    DWORD smGroup = 1;  // smoothing group bits, as imported; normals are explicit below
    USHORT mtlID = 0;   // sub-material index for multi-materials
    DWORD getVert(int i) const { return v[i]; }
};

struct TVFace {
    DWORD t[3] = {0, 0, 0};
};

class Mesh {
public:
    std::vector<Point3> verts;
    std::vector<Face> faces;
    // Texture channel 1 (UVW); empty when the mesh has no UVs. tvFace parallels faces.
    std::vector<Point3> tVerts;
    std::vector<TVFace> tvFace;
    // Vertex normals in object space; normalFaces parallels faces. Empty: faceted.
    std::vector<Point3> normals;
    std::vector<TVFace> normalFaces;

    int getNumVerts() const { return static_cast<int>(verts.size()); }
    int getNumFaces() const { return static_cast<int>(faces.size()); }
    const Point3& getVert(int i) const { return verts[static_cast<std::size_t>(i)]; }
    bool hasUVs() const { return !tVerts.empty() && tvFace.size() == faces.size(); }
    bool hasNormals() const { return !normals.empty() && normalFaces.size() == faces.size(); }

    // Geometric normal of face f (object space, unit length; zero for a degenerate face).
    Point3 faceNormal(int f) const;
    // True when every index of every face is inside its array.
    bool isValid() const;
};
