#pragma once
// Setting a class object's parameter by its script name, in whichever block holds it, as scene
// documents do; imported objects are configured the same way whatever their class.

#include "host/IParamBlock2.h"
#include "host/ParamBlockDesc2.h"
#include "host/ReferenceTarget.h"

#include <string_view>

namespace standalone::import {

// False when no block has a parameter of that name or the block refuses the value.
template <class T> bool setParamByName(ReferenceTarget& object, std::string_view name, const T& value)
{
    for (int i = 0; i < object.NumParamBlocks(); ++i) {
        IParamBlock2* block = object.GetParamBlock(i);
        if (!block || !block->GetDesc())
            continue;
        if (const ParamDef* def = block->GetDesc()->FindParam(name))
            return block->SetValue(def->id, 0, value) != FALSE;
    }
    return false;
}

}  // namespace standalone::import
