#include "standalone/SceneNode.h"

#include "standalone/LookAt.h"

#include <algorithm>

namespace standalone {

SceneNode::~SceneNode()
{
    detachFromParent();
    for (SceneNode* child : children_)
        child->parent_ = nullptr;
}

BOOL SceneNode::IsGroupMember()
{
    for (INode* up = GetParentNode(); up; up = up->GetParentNode())
        if (up->IsGroupHead())
            return TRUE;
    return FALSE;
}

INode* SceneNode::GetChildNode(int i)
{
    return i >= 0 && i < NumberOfChildren() ? children_[static_cast<std::size_t>(i)] : nullptr;
}

Matrix3 SceneNode::localTMAt(TimeValue t, Interval* valid) const
{
    Matrix3 local = animation_.empty() ? localTM_ : animation_.evaluate(t, localTM_, valid);
    if (!aimTarget_ || (*aimTarget_ - local.GetTrans()).Length() < 1e-6f)
        return local;
    Point3 scale(local.GetRow(0).Length(), local.GetRow(1).Length(), local.GetRow(2).Length());
    Matrix3 aimed = ScaleMatrix(scale) * lookAt(local.GetTrans(), *aimTarget_);
    aimed.SetTrans(local.GetTrans());
    return aimed;
}

Matrix3 SceneNode::GetNodeTM(TimeValue t, Interval* valid)
{
    Matrix3 local = localTMAt(t, valid);
    return parent_ ? local * parent_->GetNodeTM(t, valid) : local;
}

Matrix3 SceneNode::GetObjectTM(TimeValue t, Interval* valid) { return objectOffset_ * GetNodeTM(t, valid); }

void SceneNode::attachChild(SceneNode* child)
{
    if (!child || child == this)
        return;
    // Refuse cycles: a node cannot become a child of its own descendant.
    for (SceneNode* p = parent_; p; p = p->parent_)
        if (p == child)
            return;
    child->detachFromParent();
    child->parent_ = this;
    children_.push_back(child);
}

void SceneNode::detachFromParent()
{
    if (!parent_)
        return;
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    parent_ = nullptr;
}

}  // namespace standalone
