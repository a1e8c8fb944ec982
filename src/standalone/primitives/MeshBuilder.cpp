#include "standalone/primitives/MeshBuilder.h"

namespace standalone {

DWORD MeshBuilder::vertex(const Point3& p)
{
    mesh_->verts.push_back(p);
    return static_cast<DWORD>(mesh_->verts.size() - 1);
}

DWORD MeshBuilder::uv(float u, float v)
{
    mesh_->tVerts.emplace_back(u, v, 0.0f);
    return static_cast<DWORD>(mesh_->tVerts.size() - 1);
}

DWORD MeshBuilder::normal(const Point3& n)
{
    mesh_->normals.push_back(Normalize(n));
    return static_cast<DWORD>(mesh_->normals.size() - 1);
}

void MeshBuilder::triangle(const Corner& a, const Corner& b, const Corner& c)
{
    Face f;
    f.v[0] = a.v, f.v[1] = b.v, f.v[2] = c.v;
    mesh_->faces.push_back(f);
    TVFace t;
    t.t[0] = a.t, t.t[1] = b.t, t.t[2] = c.t;
    mesh_->tvFace.push_back(t);
    TVFace n;
    n.t[0] = a.n, n.t[1] = b.n, n.t[2] = c.n;
    mesh_->normalFaces.push_back(n);
}

void MeshBuilder::quad(const Corner& a, const Corner& b, const Corner& c, const Corner& d)
{
    triangle(a, b, c);
    triangle(a, c, d);
}

std::shared_ptr<Mesh> MeshBuilder::finish()
{
    auto done = std::move(mesh_);
    mesh_ = std::make_shared<Mesh>();
    return done;
}

}  // namespace standalone
