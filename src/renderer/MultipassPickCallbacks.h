#pragma once
// The callbacks of the host's select-by-name dialog that edit the multipass lists of one pass
// identifier: each names the dialog's title and button (string ids), filters the nodes the
// dialog offers and receives the nodes the user picked. All allow several nodes and list hidden
// and frozen ones.

#include "resources/StringIds.h"

#include <vector>

class INode;

namespace vml {

class vmlRenderer;

class MultipassPickCallback {
public:
    MultipassPickCallback(vmlRenderer& renderer, int passId) : renderer_(renderer), passId_(passId) {}
    virtual ~MultipassPickCallback() = default;

    virtual int titleId() const = 0;
    virtual int buttonId() const = 0;
    bool multipleSelection() const { return true; }
    bool showHidden() const { return true; }
    bool showFrozen() const { return true; }

    // Whether the dialog offers the node.
    virtual bool filter(INode* node) = 0;
    // The nodes the user picked (all offered by filter).
    virtual void proc(const std::vector<INode*>& nodes) = 0;

    int passId() const { return passId_; }

protected:
    vmlRenderer& renderer_;
    int passId_;
};

// Adds nodes to the pass. Offers no group member, no node that is neither a group head nor
// renderable, and no node already listed under any identifier.
class MultipassAddCallback final : public MultipassPickCallback {
public:
    using MultipassPickCallback::MultipassPickCallback;
    int titleId() const override { return strings::addObjects; }
    int buttonId() const override { return strings::addObjectsButton; }
    bool filter(INode* node) override;
    void proc(const std::vector<INode*>& nodes) override;
};

// Removes nodes of the pass from the lists. Offers only the pass's nodes.
class MultipassDeleteCallback final : public MultipassPickCallback {
public:
    using MultipassPickCallback::MultipassPickCallback;
    int titleId() const override { return strings::removeObjects; }
    int buttonId() const override { return strings::removeObjectsButton; }
    bool filter(INode* node) override;
    void proc(const std::vector<INode*>& nodes) override;
};

// Moves nodes of the pass to the clipboard: the clipboard holds exactly them afterwards, they
// leave the lists, and paste becomes possible when the clipboard is not empty.
class MultipassCutCallback final : public MultipassPickCallback {
public:
    using MultipassPickCallback::MultipassPickCallback;
    int titleId() const override { return strings::cutObjects; }
    int buttonId() const override { return strings::cutObjectsButton; }
    bool filter(INode* node) override;
    void proc(const std::vector<INode*>& nodes) override;
};

}  // namespace vml
