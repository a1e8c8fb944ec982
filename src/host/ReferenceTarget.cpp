#include "host/ReferenceTarget.h"

#include "host/IParamBlock2.h"

#include <algorithm>

ReferenceTarget::~ReferenceTarget() { notifyDeletion(); }

void ReferenceTarget::DeleteThis()
{
    notifyDeletion();
    delete this;
}

void ReferenceTarget::notifyDeletion()
{
    // Each round removes the last dependent completely, whatever its handler did.
    while (!dependents_.empty())
        dependents_.back().maker->targetDeleted(this);
}

RefResult ReferenceTarget::NotifyDependents(const Interval& changeInt, PartID partID, RefMessage message,
                                            BOOL propagate)
{
    std::vector<const ReferenceTarget*> visited;
    notify(changeInt, partID, message, propagate, visited);
    return REF_SUCCEED;
}

void ReferenceTarget::notify(const Interval& changeInt, PartID partID, RefMessage message, BOOL propagate,
                             std::vector<const ReferenceTarget*>& visited)
{
    visited.push_back(this);
    // Handlers may add or drop references, so walk a copy and skip makers that left meanwhile.
    std::vector<ReferenceMaker*> makers;
    makers.reserve(dependents_.size());
    for (const Dependent& d : dependents_)
        makers.push_back(d.maker);
    for (ReferenceMaker* maker : makers) {
        if (!HasDependent(maker))
            continue;
        PartID part = partID;
        const RefResult res = maker->NotifyRefChanged(changeInt, this, part, message, propagate);
        if (!propagate || res != REF_SUCCEED || !maker->IsRefTarget())
            continue;
        auto* next = static_cast<ReferenceTarget*>(maker);
        if (std::find(visited.begin(), visited.end(), next) == visited.end())
            next->notify(changeInt, part, message, propagate, visited);
    }
}

bool ReferenceTarget::HasDependent(const ReferenceMaker* maker) const
{
    return std::any_of(dependents_.begin(), dependents_.end(),
                       [&](const Dependent& d) { return d.maker == maker; });
}

void ReferenceTarget::addDependent(ReferenceMaker* maker)
{
    auto it = std::find_if(dependents_.begin(), dependents_.end(),
                           [&](const Dependent& d) { return d.maker == maker; });
    if (it != dependents_.end())
        ++it->count;
    else
        dependents_.push_back({maker, 1});
}

void ReferenceTarget::removeDependent(ReferenceMaker* maker, bool allRegistrations)
{
    auto it = std::find_if(dependents_.begin(), dependents_.end(),
                           [&](const Dependent& d) { return d.maker == maker; });
    if (it == dependents_.end())
        return;
    if (allRegistrations || --it->count <= 0)
        dependents_.erase(it);
}

IParamBlock2* ReferenceTarget::GetParamBlockByID(BlockID id)
{
    for (int i = 0; i < NumParamBlocks(); ++i)
        if (IParamBlock2* block = GetParamBlock(i); block && block->ID() == id)
            return block;
    return nullptr;
}
