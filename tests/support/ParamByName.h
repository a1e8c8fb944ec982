#pragma once
// Parameter access by script name, as the scene-document loader does it.

#include "host/IParamBlock2.h"

#include <gtest/gtest.h>

namespace test_support {

// The parameter's id in the object's first block; fails the test when the name is unknown.
inline ParamID paramId(ReferenceTarget& object, const char* name)
{
    IParamBlock2* block = object.GetParamBlock(0);
    const ParamDef* def = block ? block->GetDesc()->FindParam(name) : nullptr;
    EXPECT_NE(def, nullptr) << "no parameter named " << name;
    return def ? def->id : ParamID(-1);
}

template <class T> void setParam(ReferenceTarget& object, const char* name, const T& value)
{
    const ParamID id = paramId(object, name);
    if constexpr (std::is_convertible_v<T, ReferenceTarget*>)
        EXPECT_TRUE(object.GetParamBlock(0)->SetValue(id, 0, static_cast<ReferenceTarget*>(value))) << name;
    else
        EXPECT_TRUE(object.GetParamBlock(0)->SetValue(id, 0, value)) << name;
}

inline float floatNamed(ReferenceTarget& object, const char* name)
{
    return object.GetParamBlock(0)->GetFloat(paramId(object, name));
}

inline Color colorNamed(ReferenceTarget& object, const char* name)
{
    return object.GetParamBlock(0)->GetColor(paramId(object, name));
}

}  // namespace test_support
