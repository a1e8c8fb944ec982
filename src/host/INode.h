#pragma once
// A node of the scene: a named object with a transform, a parent and children, a material and
// render switches. The host owns nodes; plug-ins keep non-owning references to them.

#include "host/Matrix3.h"
#include "host/ReferenceTarget.h"

#include <vector>

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
    // The node heads a group (its object is the group's dummy). Hosts without groups have none.
    virtual BOOL IsGroupHead() { return FALSE; }
    // The node's object makes geometry (lights, cameras and helpers do not). Hosts that cannot
    // tell answer the node's render switch.
    virtual BOOL IsObjectRenderable() { return Renderable(); }
    virtual BOOL ApplyAtmospherics() = 0;
};

// A list of nodes, as the host hands it to notifications about several nodes at once.
using INodeTab = std::vector<INode*>;
