#include "material/ShadingSample.h"

#include "host/NormalCompression.h"
#include "host/ShadeContext.h"
#include "material/vmlMaterial.h"
#include "renderer/PixelSample.h"

#include <algorithm>
#include <cmath>

namespace vml {

namespace {

std::uint8_t toByte(float v)
{
    const float scaled = v * 255.0f;
    if (!(scaled > 0.0f))
        return 0;
    return static_cast<std::uint8_t>(std::min(scaled, 255.0f));
}

}  // namespace

ShadingSample ShadingSample::from(ShadeContext& sc)
{
    ShadingSample s;
    s.where.pixel = sc.ScreenCoord();
    s.where.subPixel = sc.SubPixel();
    s.where.nodeId = sc.NodeID();
    s.where.face = sc.FaceNumber();
    s.where.depth = sc.P().z;
    s.normal = sc.Normal();
    s.color = sc.out.c;
    s.transparency = sc.out.t;
    return s;
}

std::array<std::uint8_t, 4> sampleColorBytes(const Color& color, const Color& transparency)
{
    const float alpha = 1.0f - (transparency.r + transparency.g + transparency.b) / 3.0f;
    return {toByte(color.r), toByte(color.g), toByte(color.b), toByte(alpha)};
}

std::uint32_t packedSampleNormal(const Point3& normal) { return CompressNormal(Normalize(normal)); }

float pixelSampleWeight(const Point2& subPixel)
{
    const Point2 offset((subPixel.x - 0.5f) * 2.0f, (subPixel.y - 0.5f) * 2.0f);
    return std::max(0.0f, 1.0f - offset.Length());
}

PixelSample makePixelSample(const ShadingSample& sample, const vmlMaterial* material)
{
    PixelSample p;
    p.color = sampleColorBytes(sample.color, sample.transparency);
    p.nodeId = sample.where.nodeId;
    p.face = sample.where.face;
    p.depth = sample.where.depth;
    p.weight = pixelSampleWeight(sample.where.subPixel);
    p.normal = packedSampleNormal(sample.normal);
    p.material = material ? material->sampleKey() : 0;
    return p;
}

}  // namespace vml
