#pragma once
// The rotation that turns a file's axes into the world's: Z up, and the side a front view shows
// facing -Y (a front view looks along +Y), X to the right. Y-up files turn +90 degrees about X.

#include "host/Matrix3.h"
#include "standalone/import/ImportOptions.h"

#include <optional>

struct aiScene;

namespace standalone::import {

// For up == fromFile, FBX axis metadata (UpAxis, FrontAxis, CoordAxis and their signs) when it is
// complete and names three different axes; a left-handed file gives a mirroring matrix.
Matrix3 axisConversion(const aiScene& scene, UpAxis up);

// The conversion for a file whose up, front (toward the viewer) and right axes are the given
// indices 0..2 with signs +1 or -1; nothing unless the axes are a permutation of 0, 1, 2.
std::optional<Matrix3> axisConversion(int upAxis, int upSign, int frontAxis, int frontSign, int coordAxis,
                                      int coordSign);

}  // namespace standalone::import
