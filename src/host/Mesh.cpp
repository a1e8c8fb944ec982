#include "host/Mesh.h"

Point3 Mesh::faceNormal(int f) const
{
    const Face& face = faces[static_cast<std::size_t>(f)];
    const Point3 &a = verts[face.v[0]], &b = verts[face.v[1]], &c = verts[face.v[2]];
    return Normalize(CrossProd(b - a, c - a));
}

bool Mesh::isValid() const
{
    auto inRange = [](const DWORD(&idx)[3], std::size_t n) { return idx[0] < n && idx[1] < n && idx[2] < n; };
    for (std::size_t f = 0; f < faces.size(); ++f) {
        if (!inRange(faces[f].v, verts.size()))
            return false;
        if (!tvFace.empty() && (tvFace.size() != faces.size() || !inRange(tvFace[f].t, tVerts.size())))
            return false;
        if (!normalFaces.empty() &&
            (normalFaces.size() != faces.size() || !inRange(normalFaces[f].t, normals.size())))
            return false;
    }
    return true;
}
