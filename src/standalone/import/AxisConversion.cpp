#include "standalone/import/AxisConversion.h"

#include "host/Angles.h"

#include <assimp/scene.h>

namespace standalone::import {

namespace {

Matrix3 yUpToZUp() { return RotateXMatrix(pi / 2.0f); }

}  // namespace

std::optional<Matrix3> axisConversion(int upAxis, int upSign, int frontAxis, int frontSign, int coordAxis,
                                      int coordSign)
{
    auto valid = [](int axis, int sign) { return axis >= 0 && axis <= 2 && (sign == 1 || sign == -1); };
    if (!valid(upAxis, upSign) || !valid(frontAxis, frontSign) || !valid(coordAxis, coordSign) ||
        upAxis == frontAxis || upAxis == coordAxis || frontAxis == coordAxis)
        return std::nullopt;
    Matrix3 m;
    m.SetRow(upAxis, Point3(0, 0, 1) * float(upSign));
    m.SetRow(frontAxis, Point3(0, -1, 0) * float(frontSign));
    m.SetRow(coordAxis, Point3(1, 0, 0) * float(coordSign));
    return m;
}

Matrix3 axisConversion(const aiScene& scene, UpAxis up)
{
    if (up == UpAxis::z)
        return Matrix3();
    if (up == UpAxis::y || !scene.mMetaData)
        return yUpToZUp();
    int axis[6];
    const char* keys[6] = {"UpAxis",        "UpAxisSign", "FrontAxis",
                           "FrontAxisSign", "CoordAxis",  "CoordAxisSign"};
    for (int i = 0; i < 6; ++i)
        if (!scene.mMetaData->Get(std::string(keys[i]), axis[i]))
            return yUpToZUp();
    return axisConversion(axis[0], axis[1], axis[2], axis[3], axis[4], axis[5]).value_or(yUpToZUp());
}

}  // namespace standalone::import
