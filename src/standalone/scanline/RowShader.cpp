#include "standalone/scanline/RowShader.h"

#include "host/INode.h"
#include "host/Mtl.h"
#include "host/NormalCompression.h"
#include "host/Texmap.h"
#include "standalone/scanline/FrameMotion.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace standalone::scanline {

std::uint16_t toChannel16(float v)
{
    if (!(v > 0.0f))
        return 0;
    return static_cast<std::uint16_t>(std::min(v, 1.0f) * 65535.0f);
}

namespace {

Color clampUnit(const Color& c)
{
    auto unit = [](float v) { return v > 0.0f ? std::min(v, 1.0f) : 0.0f; };
    return {unit(c.r), unit(c.g), unit(c.b)};
}

bool opaque(const Color& t) { return t.r <= 0.0f && t.g <= 0.0f && t.b <= 0.0f; }

}  // namespace

AColor RowShader::backgroundAt(int x, int y)
{
    if (!frame_.envMap)
        return AColor(frame_.background.r, frame_.background.g, frame_.background.b, 1.0f);
    sc_.beginBackground(x, y);
    return frame_.envMap->EvalColor(sc_);
}

std::uint64_t RowShader::shadeRow(int y, std::span<const Fragment> fragments, BMM_Color_64* pixels,
                                  GBufferTarget& gbuffer)
{
    const Color white(1.0f, 1.0f, 1.0f);
    const float sampleWeight = 1.0f / subSampleCount;
    std::uint64_t shaded = 0;
    std::size_t next = 0;
    for (int x = 0; x < frame_.view->width; ++x) {
        std::size_t begin = next;
        while (next < fragments.size() && fragments[next].x == x)
            ++next;

        std::array<Color, subSampleCount> transmit;
        transmit.fill(white);
        SampleMask opaqueSamples = 0;
        Color sum;
        GBufferPixel gb;
        for (std::size_t k = begin; k < next && opaqueSamples != fullMask; ++k) {
            const Fragment& f = fragments[k];
            SampleMask visible = f.mask & static_cast<SampleMask>(~opaqueSamples);
            if (!visible)
                continue;
            sc_.beginFragment(x, y, f);
            if (Mtl* mtl = sc_.material())
                mtl->Shade(sc_);
            ++shaded;
            const Color c = sc_.out.c, t = clampUnit(sc_.out.t);
            for (SampleMask m = visible; m; m &= static_cast<SampleMask>(m - 1)) {
                int s = std::countr_zero(m);
                sum += transmit[s] * c;
                transmit[s] = transmit[s] * t;
                if (opaque(transmit[s]))
                    opaqueSamples |= static_cast<SampleMask>(1u << s);
            }
            if (!gb.hasFragment) {
                gb.hasFragment = true;
                gb.z = f.depth;
                gb.mtlId = static_cast<std::uint8_t>(sc_.out.gbufId & 0xFF);
                gb.nodeId = static_cast<std::uint16_t>(sc_.Node() ? sc_.Node()->GetGBufferID() : 0);
                gb.renderId = static_cast<std::uint16_t>(sc_.NodeID());
                gb.normal = CompressNormal(Normalize(sc_.Normal()));
                gb.mask = f.mask;
                Point3 uvw = sc_.UVW(1);
                gb.uv = Point2(uvw.x, uvw.y);
                gb.color = c, gb.transp = t;
                if (frame_.motion)
                    gb.velocity = frame_.motion->velocity((*frame_.polygons)[f.polygon], f.bary);
            }
        }
        sum *= sampleWeight;

        Color through;  // mean transmittance per channel
        for (const Color& t : transmit)
            through += t;
        through *= sampleWeight;
        float meanThrough = (through.r + through.g + through.b) / 3.0f;
        float alpha = 1.0f - meanThrough;
        gb.background = frame_.background;
        if (meanThrough > 0.0f && frame_.backgroundAlpha > 0.0f) {
            // Premultiplied: a map's transparent background (alpha 0) adds nothing.
            const AColor background = backgroundAt(x, y);
            gb.background = Color(background);
            sum += gb.background * through * frame_.backgroundAlpha;
            alpha += meanThrough * frame_.backgroundAlpha * std::clamp(background.a, 0.0f, 1.0f);
        }
        gb.finalColor = sum;
        pixels[x] = {toChannel16(sum.r), toChannel16(sum.g), toChannel16(sum.b), toChannel16(alpha)};
        gbuffer.write(x, y, gb);
    }
    return shaded;
}

}  // namespace standalone::scanline
