#include "host/ReferenceMaker.h"

#include "host/ReferenceTarget.h"

#include <algorithm>

ReferenceMaker::~ReferenceMaker()
{
    // The derived part is gone, so slots are not touched: only the targets forget this maker.
    std::vector<ReferenceTarget*> targets = std::move(links_);
    links_.clear();
    for (ReferenceTarget* t : targets)
        t->removeDependent(this, true);
    while (!owned_.empty()) {
        std::unique_ptr<ReferenceTarget> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
}

RefResult ReferenceMaker::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID&, RefMessage, BOOL)
{
    return REF_SUCCEED;
}

RefResult ReferenceMaker::ReplaceReference(int i, ReferenceTarget* target)
{
    if (i < 0 || i >= NumRefs())
        return REF_FAIL;
    ReferenceTarget* old = GetReference(i);
    if (old == target)
        return REF_SUCCEED;
    SetReference(i, target);
    // Register what the slot really holds: a SetReference may refuse or substitute the value.
    ReferenceTarget* now = GetReference(i);
    if (now != old) {
        if (old)
            unlink(old);
        if (now)
            link(now);
    }
    return REF_SUCCEED;
}

RefResult ReferenceMaker::DeleteAllRefsFromMe()
{
    for (int i = 0; i < NumRefs(); ++i) {
        if (GetReference(i))
            ReplaceReference(i, nullptr);
    }
    return REF_SUCCEED;
}

int ReferenceMaker::FindRef(ReferenceTarget* target)
{
    for (int i = 0; i < NumRefs(); ++i) {
        if (GetReference(i) == target)
            return i;
    }
    return -1;
}

ReferenceTarget* ReferenceMaker::adoptOwned(std::unique_ptr<ReferenceTarget> object)
{
    ReferenceTarget* raw = object.get();
    if (raw && !owns(raw))
        owned_.push_back(std::move(object));
    return raw;
}

std::unique_ptr<ReferenceTarget> ReferenceMaker::releaseOwned(ReferenceTarget* object)
{
    auto it = std::find_if(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == object; });
    if (it == owned_.end())
        return nullptr;
    std::unique_ptr<ReferenceTarget> out = std::move(*it);
    owned_.erase(it);
    return out;
}

bool ReferenceMaker::owns(const ReferenceTarget* object) const
{
    return std::any_of(owned_.begin(), owned_.end(), [&](const auto& p) { return p.get() == object; });
}

void ReferenceMaker::link(ReferenceTarget* target)
{
    links_.push_back(target);
    target->addDependent(this);
}

void ReferenceMaker::unlink(ReferenceTarget* target)
{
    // An unregistered slot (written with SetReference directly) may hold a dead pointer: only
    // targets known to be registered are called.
    auto it = std::find(links_.begin(), links_.end(), target);
    if (it == links_.end())
        return;
    links_.erase(it);
    target->removeDependent(this, false);
}

void ReferenceMaker::targetDeleted(ReferenceTarget* target)
{
    PartID part = PART_ALL;
    NotifyRefChanged(FOREVER, target, part, REFMSG_TARGET_DELETED, FALSE);
    for (int i = 0; i < NumRefs(); ++i) {
        if (GetReference(i) == target)
            SetReference(i, nullptr);
    }
    std::erase(links_, target);
    target->removeDependent(this, true);
}
