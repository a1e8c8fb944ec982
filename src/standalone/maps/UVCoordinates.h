#pragma once
// Texture coordinates shared by the host's maps: a UV channel with tiling, offset and rotation, or
// an environment lookup (the reflection vector in world space, mapped spherically).
//
// The parameters live in each map's own block (ids from kFirstParamId on), so a scene document
// reaches them by script name: mapChannel, mapping, tilingU, tilingV, offsetU, offsetV, angle.
//
// Transform: uv' = S(tiling) * R(-angle) * (uv - 0.5 - offset) + 0.5, rotating the texture
// counter-clockwise on the surface by angle (degrees) about the centre of the unit square.
// Environment: with d the unit world-space reflection vector (Z up), u = 0.5 + atan2(d.x, d.y) / 2pi
// (0.5 looking along +y, growing to the right) and v = 0.5 + asin(d.z) / pi (1 straight up).

#include "host/Interval.h"
#include "host/ParamTypes.h"
#include "host/Point2.h"

class IParamBlock2;
class ParamBlockDesc2;
class ShadeContext;

namespace standalone {

class UVCoordinates {
public:
    enum Mapping { explicitUV = 0, environment = 1 };
    static constexpr ParamID kFirstParamId = 100;

    // Adds the coordinate parameters to a map's block.
    static void declare(ParamBlockDesc2& desc);

    // Reads the parameters at t, narrowing valid.
    void read(IParamBlock2& block, TimeValue t, Interval& valid);

    bool usesUV() const { return mapping_ == explicitUV; }
    bool isEnvironment() const { return mapping_ == environment; }
    int channel() const { return channel_; }
    // Largest tiling factor (at least 1), for sizing finite-difference steps.
    float maxTiling() const;

    // The map's coordinates at the sample.
    Point2 eval(ShadeContext& sc) const;
    // Surface (or spherical) coordinates to the map's coordinates.
    Point2 transform(const Point2& uv) const;

private:
    int mapping_ = explicitUV;
    int channel_ = 1;
    float tilingU_ = 1.0f, tilingV_ = 1.0f;
    float offsetU_ = 0.0f, offsetV_ = 0.0f;
    float cosA_ = 1.0f, sinA_ = 0.0f;
};

}  // namespace standalone
