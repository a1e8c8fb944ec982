#pragma once
// Assembles a Mesh from positions, texture vertices and normals, each added once and referred to
// by index from the triangles' corners.

#include "host/Mesh.h"

#include <memory>

namespace standalone {

class MeshBuilder {
public:
    struct Corner {
        DWORD v, t, n;  // position, texture vertex and normal indices
    };

    DWORD vertex(const Point3& p);
    DWORD uv(float u, float v);
    DWORD normal(const Point3& n);  // normalised here

    // Corners counter-clockwise seen from outside.
    void triangle(const Corner& a, const Corner& b, const Corner& c);
    // a b c d counter-clockwise seen from outside; split along a-c.
    void quad(const Corner& a, const Corner& b, const Corner& c, const Corner& d);

    std::shared_ptr<Mesh> finish();

private:
    std::shared_ptr<Mesh> mesh_ = std::make_shared<Mesh>();
};

}  // namespace standalone
