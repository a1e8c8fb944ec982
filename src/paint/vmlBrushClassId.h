#pragma once
// Class id of the brush texture map: the only class a material's brush slot accepts.

#include "host/ClassID.h"

namespace vml {

inline constexpr Class_ID vmlBrushClassId{0x54022254, 0x0320010F};

}  // namespace vml
