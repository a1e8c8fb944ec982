#include "standalone/import/MeshImport.h"

#include "standalone/import/AssimpValues.h"

#include <assimp/mesh.h>

#include <limits>
#include <vector>

namespace standalone::import {

namespace {

constexpr DWORD kUnused = std::numeric_limits<DWORD>::max();

// The three vertex indices of a usable triangle, or false.
bool triangle(const aiMesh& m, const aiFace& f, const std::vector<bool>& finite, unsigned (&v)[3])
{
    if (f.mNumIndices != 3 || !f.mIndices)
        return false;
    for (int k = 0; k < 3; ++k) {
        v[k] = f.mIndices[k];
        if (v[k] >= m.mNumVertices || !finite[v[k]])
            return false;
    }
    const Point3 a = toPoint3(m.mVertices[v[0]]), b = toPoint3(m.mVertices[v[1]]),
                 c = toPoint3(m.mVertices[v[2]]);
    const float area2 = CrossProd(b - a, c - a).LengthSquared();
    return area2 > 0.0f && std::isfinite(area2);
}

}  // namespace

std::shared_ptr<Mesh> importMesh(const aiMesh& m, bool flipWinding, MeshRepairs& repairs)
{
    if (!m.mVertices || m.mNumVertices == 0 || !m.mFaces) {
        repairs.droppedFaces += static_cast<int>(m.mNumFaces);
        return nullptr;
    }
    std::vector<bool> finite(m.mNumVertices);
    for (unsigned i = 0; i < m.mNumVertices; ++i)
        finite[i] = isFinite(toPoint3(m.mVertices[i]));

    auto mesh = std::make_shared<Mesh>();
    std::vector<DWORD> remap(m.mNumVertices, kUnused);
    std::vector<unsigned> used;  // source index of each kept vertex
    for (unsigned f = 0; f < m.mNumFaces; ++f) {
        unsigned v[3];
        if (!triangle(m, m.mFaces[f], finite, v)) {
            ++repairs.droppedFaces;
            continue;
        }
        if (flipWinding)
            std::swap(v[1], v[2]);
        Face face;
        for (int k = 0; k < 3; ++k) {
            if (remap[v[k]] == kUnused) {
                remap[v[k]] = static_cast<DWORD>(used.size());
                used.push_back(v[k]);
            }
            face.v[k] = remap[v[k]];
        }
        mesh->faces.push_back(face);
    }
    if (mesh->faces.empty())
        return nullptr;

    mesh->verts.reserve(used.size());
    for (unsigned src : used)
        mesh->verts.push_back(toPoint3(m.mVertices[src]));

    if (m.mNormals) {
        // Kept vertices' normals first, in vertex order; face normals are appended for corners
        // whose vertex normal is unusable.
        mesh->normals.resize(used.size());
        std::vector<bool> good(used.size());
        for (std::size_t i = 0; i < used.size(); ++i) {
            const Point3 n = toPoint3(m.mNormals[used[i]]);
            const float length = n.Length();
            good[i] = std::isfinite(length) && length > 1.0e-12f;
            mesh->normals[i] = good[i] ? n / length : Point3(0, 0, 1);
        }
        mesh->normalFaces.resize(mesh->faces.size());
        for (std::size_t f = 0; f < mesh->faces.size(); ++f) {
            DWORD faceNormal = kUnused;
            for (int k = 0; k < 3; ++k) {
                const DWORD v = mesh->faces[f].v[k];
                if (good[v]) {
                    mesh->normalFaces[f].t[k] = v;
                    continue;
                }
                if (faceNormal == kUnused) {
                    faceNormal = static_cast<DWORD>(mesh->normals.size());
                    // Outward as the file wound the face, whatever the flip did to it.
                    const Point3 n = mesh->faceNormal(static_cast<int>(f));
                    mesh->normals.push_back(flipWinding ? -n : n);
                }
                mesh->normalFaces[f].t[k] = faceNormal;
                ++repairs.repairedNormals;
            }
        }
    }

    if (m.mTextureCoords[0]) {
        mesh->tVerts.reserve(used.size());
        for (unsigned src : used) {
            const aiVector3D& uv = m.mTextureCoords[0][src];
            const bool ok = std::isfinite(uv.x) && std::isfinite(uv.y);
            if (!ok)
                ++repairs.repairedUVs;
            mesh->tVerts.push_back(ok ? Point3(uv.x, uv.y, 0.0f) : Point3());
        }
        mesh->tvFace.resize(mesh->faces.size());
        for (std::size_t f = 0; f < mesh->faces.size(); ++f)
            for (int k = 0; k < 3; ++k)
                mesh->tvFace[f].t[k] = mesh->faces[f].v[k];
    }
    return mesh->isValid() ? mesh : nullptr;
}

}  // namespace standalone::import
