#pragma once
// A node of the standalone host's scene. It carries at most one object: a mesh, a light or a
// camera (or none: a group or the root). Its transform is relative to its parent.

#include "host/INode.h"
#include "host/Mesh.h"
#include "standalone/CameraSettings.h"
#include "standalone/LightSettings.h"
#include "standalone/TransformAnimation.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace standalone {

class SceneNode : public INode {
public:
    explicit SceneNode(std::string name = {}) : name_(std::move(name)) {}
    ~SceneNode() override;

    // INode
    const char* GetName() override { return name_.c_str(); }
    INode* GetParentNode() override { return parent_; }
    int NumberOfChildren() override { return static_cast<int>(children_.size()); }
    INode* GetChildNode(int i) override;
    Matrix3 GetNodeTM(TimeValue t, Interval* valid = nullptr) override;
    Matrix3 GetObjectTM(TimeValue t, Interval* valid = nullptr) override;
    Mtl* GetMtl() override { return mtl_; }
    ULONG GetGBufferID() override { return gbufferId_; }
    BOOL Renderable() override { return renderable_; }
    BOOL IsHidden() override { return hidden_; }
    // A document's group node heads a group; the nodes under it are its members.
    BOOL IsGroupMember() override;
    BOOL IsGroupHead() override { return groupHead_; }
    BOOL ApplyAtmospherics() override { return TRUE; }
    Class_ID ClassID() override { return Class_ID(0x00000001, 0x0000BEEF); }

    // Hierarchy. A child belongs to the scene, not to its parent; attaching re-parents it.
    void attachChild(SceneNode* child);
    void detachFromParent();

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    // Transform relative to the parent (for the root: world).
    void setLocalTM(const Matrix3& tm) { localTM_ = tm; }
    const Matrix3& localTM() const { return localTM_; }
    // Keyframed local transform; channels without keys keep the local TM's.
    void setAnimation(TransformAnimation animation) { animation_ = std::move(animation); }
    const TransformAnimation& animation() const { return animation_; }
    // Keeps the node's -z axis on a point of its parent's space, whatever its animation says
    // about rotation.
    void setAimTarget(const Point3& target) { aimTarget_ = target; }
    // Local transform at t.
    Matrix3 localTMAt(TimeValue t, Interval* valid = nullptr) const;
    // Offset of the object from the node's pivot (object TM = offset * node TM).
    void setObjectOffset(const Matrix3& tm) { objectOffset_ = tm; }

    void setMtl(Mtl* mtl) { mtl_ = mtl; }  // not owned: the scene owns materials
    void setGBufferID(ULONG id) { gbufferId_ = id; }
    void setRenderable(bool on) { renderable_ = on; }
    void setHidden(bool on) { hidden_ = on; }
    void setGroupHead(bool on) { groupHead_ = on; }

    // The object this node carries.
    void setMesh(std::shared_ptr<const Mesh> mesh) { mesh_ = std::move(mesh); }
    const Mesh* mesh() const { return mesh_.get(); }
    std::optional<LightSettings> light;
    std::optional<CameraSettings> camera;

private:
    bool groupHead_ = false;
    std::string name_;
    SceneNode* parent_ = nullptr;
    std::vector<SceneNode*> children_;
    Matrix3 localTM_;
    Matrix3 objectOffset_;
    TransformAnimation animation_;
    std::optional<Point3> aimTarget_;
    Mtl* mtl_ = nullptr;
    ULONG gbufferId_ = 0;
    bool renderable_ = true;
    bool hidden_ = false;
    std::shared_ptr<const Mesh> mesh_;
};

}  // namespace standalone
