#include "standalone/scanline/GBufferTarget.h"

#include <algorithm>
#include <cmath>

namespace standalone::scanline {

GBufferTarget::GBufferTarget(Bitmap& bm)
    : width_(bm.Width()), z_(bm.Channel<float>(BMM_CHAN_Z)),
      mtlId_(bm.Channel<std::uint8_t>(BMM_CHAN_MTL_ID)), nodeId_(bm.Channel<std::uint16_t>(BMM_CHAN_NODE_ID)),
      uv_(bm.Channel<Point2>(BMM_CHAN_UV)), normal_(bm.Channel<DWORD>(BMM_CHAN_NORMAL)),
      realPix_(bm.Channel<DWORD>(BMM_CHAN_REALPIX)), coverage_(bm.Channel<std::uint8_t>(BMM_CHAN_COVERAGE)),
      bg_(bm.Channel<Color24>(BMM_CHAN_BG)), renderId_(bm.Channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID)),
      color_(bm.Channel<Color24>(BMM_CHAN_COLOR)), transp_(bm.Channel<Color24>(BMM_CHAN_TRANSP)),
      veloc_(bm.Channel<Point2>(BMM_CHAN_VELOC)), weight_(bm.Channel<Color24>(BMM_CHAN_WEIGHT)),
      mask_(bm.Channel<std::uint16_t>(BMM_CHAN_MASK))
{}

Color24 toColor24(const Color& c)
{
    auto byte = [](float v) {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
    };
    return {byte(c.r), byte(c.g), byte(c.b)};
}

DWORD packRealPixel(const Color& c)
{
    float r = std::max(c.r, 0.0f), g = std::max(c.g, 0.0f), b = std::max(c.b, 0.0f);
    float v = std::max({r, g, b});
    if (!(v >= 1.0e-32f) || !std::isfinite(v))
        return 0;
    int e;
    float scale = std::frexp(v, &e) * 256.0f / v;
    auto mant = [&](float x) { return static_cast<DWORD>(std::min(255.0f, x * scale)); };
    return mant(r) | mant(g) << 8 | mant(b) << 16 | static_cast<DWORD>(std::clamp(e + 128, 0, 255)) << 24;
}

void GBufferTarget::write(int x, int y, const GBufferPixel& px)
{
    std::size_t i =
        static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x);
    float coverage = px.hasFragment ? static_cast<float>(sampleCount(px.mask)) / subSampleCount : 0.0f;
    if (z_)
        z_[i] = px.z;
    if (mtlId_)
        mtlId_[i] = px.mtlId;
    if (nodeId_)
        nodeId_[i] = px.nodeId;
    if (uv_)
        uv_[i] = px.uv;
    if (normal_)
        normal_[i] = px.normal;
    if (realPix_)
        realPix_[i] = packRealPixel(px.finalColor);
    if (coverage_)
        coverage_[i] = px.hasFragment ? coverageByte(px.mask) : 0;
    if (bg_)
        bg_[i] = toColor24(px.background);
    if (renderId_)
        renderId_[i] = px.renderId;
    if (color_)
        color_[i] = toColor24(px.color);
    if (transp_)
        transp_[i] = toColor24(px.transp);
    if (veloc_)
        veloc_[i] = px.velocity;
    if (weight_) {
        Color opacity = Color(1.0f, 1.0f, 1.0f) - px.transp;
        weight_[i] = px.hasFragment ? toColor24(opacity * coverage) : Color24{};
    }
    if (mask_)
        mask_[i] = px.mask;
}

}  // namespace standalone::scanline
