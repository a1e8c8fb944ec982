#include "standalone/scanline/ScanlineInstance.h"

#include <algorithm>

namespace standalone::scanline {

namespace {

// Inverse transpose of the linear part, for transforming normals; no translation.
Matrix3 normalMatrix(const Matrix3& m)
{
    Matrix3 inv = Inverse(m);
    Matrix3 n;
    for (int r = 0; r < 3; ++r)
        n.SetRow(r, Point3(inv.GetRow(0)[r], inv.GetRow(1)[r], inv.GetRow(2)[r]));
    n.SetTrans(Point3());
    return n;
}

}  // namespace

ScanlineInstance::ScanlineInstance(INode* node, const Mesh& objectMesh, Mtl* material, int id,
                                   const Matrix3& objectToWorld, const Matrix3& worldToCam,
                                   const std::vector<LightDesc*>& lights)
    : node_(node), lights_(lights)
{
    // Instances expose the mesh through the host's non-const field; nobody writes through it
    // while a frame renders.
    mesh = const_cast<Mesh*>(&objectMesh);
    mtl = material;
    nodeID = id;
    objToWorld = objectToWorld;
    objToCam = objectToWorld * worldToCam;
    camToObj = Inverse(objToCam);
    normalObjToCam = normalMatrix(objToCam);

    camVerts_.reserve(objectMesh.verts.size());
    Point3 lo(1.0e30f, 1.0e30f, 1.0e30f), hi(-1.0e30f, -1.0e30f, -1.0e30f);
    for (const Point3& v : objectMesh.verts) {
        Point3 c = objToCam.PointTransform(v);
        camVerts_.push_back(c);
        for (int k = 0; k < 3; ++k)
            lo[k] = std::min(lo[k], c[k]), hi[k] = std::max(hi[k], c[k]);
    }
    if (!camVerts_.empty()) {
        center = (lo + hi) * 0.5f;
        for (const Point3& c : camVerts_)
            radsq = std::max(radsq, (c - center).LengthSquared());
    }
}

LightDesc* ScanlineInstance::Light(int n)
{
    return n >= 0 && n < NumLights() ? lights_[static_cast<std::size_t>(n)] : nullptr;
}

Point3 ScanlineInstance::GetCamVert(int i)
{
    return i >= 0 && i < static_cast<int>(camVerts_.size()) ? camVerts_[static_cast<std::size_t>(i)]
                                                            : Point3();
}

Point3 ScanlineInstance::GetFaceNormal(int f)
{
    if (f < 0 || f >= mesh->getNumFaces())
        return Point3();
    const Face& face = mesh->faces[static_cast<std::size_t>(f)];
    const Point3 &a = camVerts_[face.v[0]], &b = camVerts_[face.v[1]], &c = camVerts_[face.v[2]];
    return Normalize(CrossProd(b - a, c - a));
}

}  // namespace standalone::scanline
