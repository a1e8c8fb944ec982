#pragma once
// One object of the scene as the renderer sees it during a frame: its mesh, material, node and
// transforms. The renderer owns instances; they live for one frame.

#include "host/Matrix3.h"
#include "host/MaxTypes.h"

class INode;
class LightDesc;
class Mesh;
class Mtl;

// RenderInstance::flags
constexpr ULONG INST_HIDE = 0x10000;  // not rendered this pass

class RenderInstance {
public:
    virtual ~RenderInstance() = default;

    ULONG flags = 0;
    Mtl* mtl = nullptr;
    Mesh* mesh = nullptr;  // object space
    int nodeID = 0;        // unique per render, equal to ShadeContext::NodeID()
    Matrix3 objToWorld;
    Matrix3 objToCam;
    Matrix3 normalObjToCam;  // inverse transpose for normals
    Matrix3 camToObj;
    Point3 center;       // camera-space centre of the bounding sphere
    float radsq = 0.0f;  // squared bounding radius

    virtual INode* GetINode() = 0;
    virtual int NumLights() = 0;
    virtual LightDesc* Light(int n) = 0;
    // Camera-space position of mesh vertex i.
    virtual Point3 GetCamVert(int i) = 0;
    // Camera-space geometric normal of face f.
    virtual Point3 GetFaceNormal(int f) = 0;
    float boundingRadius() const;
};
