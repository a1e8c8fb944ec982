#pragma once
// Where a camera or light sits inside its node. Model files give it a position, a viewing (or
// shining) direction and an up vector in the node's space; the host's cameras and lights look
// down their own -z with +y up.

#include "host/Matrix3.h"

namespace standalone::import {

// The transform from the object's own frame to its node's space: the origin at position, -z along
// forward, +y as near up as it can be. A zero or non-finite forward looks down -z; an up that is
// zero, non-finite or along forward is replaced by a perpendicular of forward.
Matrix3 aimedFrame(const Point3& position, const Point3& forward, const Point3& up);

}  // namespace standalone::import
