#include "host/ClassDesc2.h"

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"

#include <algorithm>
#include <memory>

void ClassDesc2::AddParamBlockDesc(ParamBlockDesc2* pbd)
{
    if (pbd && std::find(paramBlockDescs_.begin(), paramBlockDescs_.end(), pbd) == paramBlockDescs_.end())
        paramBlockDescs_.push_back(pbd);
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDesc(int i) const
{
    return i >= 0 && i < NumParamBlockDescs() ? paramBlockDescs_[static_cast<std::size_t>(i)] : nullptr;
}

ParamBlockDesc2* ClassDesc2::GetParamBlockDescByID(BlockID id) const
{
    for (ParamBlockDesc2* pbd : paramBlockDescs_) {
        if (pbd->ID() == id)
            return pbd;
    }
    return nullptr;
}

void ClassDesc2::MakeAutoParamBlocks(ReferenceMaker* owner)
{
    if (!owner)
        return;
    for (ParamBlockDesc2* pbd : paramBlockDescs_) {
        if (!pbd->HasFlag(P_AUTO_CONSTRUCT))
            continue;
        IParamBlock2* block = owner->adopt(std::make_unique<IParamBlock2>(pbd, owner));
        owner->ReplaceReference(pbd->RefNo(), block);
    }
}
