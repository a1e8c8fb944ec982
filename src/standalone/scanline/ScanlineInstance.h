#pragma once
// A render instance of the scanline renderer: one mesh node of the frame, with its vertices
// transformed to camera space once.

#include "host/Mesh.h"
#include "host/RenderInstance.h"

#include <vector>

namespace standalone::scanline {

class ScanlineInstance : public RenderInstance {
public:
    // lights: the frame's lights, filled by the frame before shading; shared by all instances.
    ScanlineInstance(INode* node, const Mesh& mesh, Mtl* material, int id, const Matrix3& objectToWorld,
                     const Matrix3& worldToCam, const std::vector<LightDesc*>& lights);

    INode* GetINode() override { return node_; }
    int NumLights() override { return static_cast<int>(lights_.size()); }
    LightDesc* Light(int n) override;
    Point3 GetCamVert(int i) override;
    Point3 GetFaceNormal(int f) override;

    const Mesh& objectMesh() const { return *mesh; }
    const std::vector<Point3>& camVerts() const { return camVerts_; }
    const std::vector<LightDesc*>& lights() const { return lights_; }

private:
    INode* node_;
    std::vector<Point3> camVerts_;
    const std::vector<LightDesc*>& lights_;
};

}  // namespace standalone::scanline
