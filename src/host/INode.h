#pragma once
// A node of the scene: a named object with a transform, a parent and children, a material and
// render switches. The host owns nodes; plug-ins keep non-owning references to them.

#include "host/Matrix3.h"
#include "host/ReferenceTarget.h"

class Mtl;

class INode : public ReferenceTarget {
public:
    virtual const char* GetName() = 0;
    virtual INode* GetParentNode() = 0;  // nullptr for the scene root
    virtual int NumberOfChildren() = 0;
    virtual INode* GetChildNode(int i) = 0;
    virtual BOOL IsRootNode() { return GetParentNode() == nullptr; }
    // Node transform (pivot) and object transform (where the mesh vertices are placed), world space.
    virtual Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr) = 0;
    virtual Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr) = 0;
    virtual Mtl* GetMtl() = 0;
    // The object's G-buffer id (object channel).
    virtual ULONG GetGBufferID() = 0;
    virtual BOOL Renderable() = 0;
    virtual BOOL IsHidden() = 0;
    virtual BOOL IsGroupMember() = 0;
    virtual BOOL ApplyAtmospherics() = 0;
};
