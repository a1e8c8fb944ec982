// vmlMaterial's shade entry. The base material shades the sample with lighting flattened by
// `shading`; base colour, reflection and the shaped highlight are laid over the straight
// (un-premultiplied) colour. For any caller but the painterly renderer's own camera pass the
// material then behaves as an ordinary material. In that pass the sample is filed with the
// renderer, may become a stroke, and the host is shown the background (or nothing) instead, as
// the painting replaces the surface.

#include "host/Interface.h"
#include "host/RenderGlobalContext.h"
#include "host/ShadeContext.h"
#include "host/Texmap.h"
#include "material/HighlightCurve.h"
#include "material/ShadeContextPool.h"
#include "material/ShadingSample.h"
#include "material/StrokePlacement.h"
#include "material/VmlmatShadeContext.h"
#include "material/vmlMaterial.h"
#include "paint/Blend.h"
#include "renderer/PixelSample.h"
#include "renderer/vmlBgMap.h"
#include "renderer/vmlRenderer.h"

#include <algorithm>
#include <cstdint>

namespace vml {

namespace {

// Bit of ShadeContext::xshadeID set when the host shades for another purpose than the visible
// surface.
constexpr std::uint32_t shadeIdNotVisible = 0x80000000u;

// Returns a pooled context however the base material leaves.
class PooledContext {
public:
    PooledContext() : context_(acquireShadeContext()) {}
    ~PooledContext() { releaseShadeContext(context_); }
    PooledContext(const PooledContext&) = delete;
    PooledContext& operator=(const PooledContext&) = delete;
    VmlmatShadeContext* get() const { return context_; }

private:
    VmlmatShadeContext* context_;
};

// The base material shades sc through a wrapper whose ambient light is pulled towards white and
// whose lights are scaled by s: at 0 the base material returns its flat, ambient-lit colour.
void shadeBase(Mtl& base, ShadeContext& sc, float s)
{
    PooledContext pooled;
    VmlmatShadeContext* w = pooled.get();
    if (!w || !w->bind(sc, s)) {
        // No wrapper to be had: the frame is out of memory; the sample still gets a colour.
        if (vmlRenderer* r = currentRenderer)
            r->setOutOfMemory();
        base.Shade(sc);
        return;
    }
    const Color white(1.0f, 1.0f, 1.0f);
    w->ambientLight = (w->ambientLight - white) * s + white;
    base.Shade(*w);
    sc.out = w->out;
}

// Colour of a map laid over `colour` by the map's alpha times opacity (percent).
Color overlayMap(const Color& colour, Texmap* map, float opacityPercent, ShadeContext& sc)
{
    const AColor m = map->EvalColor(sc);
    const float a = m.a * opacityPercent * 0.01f;
    return colour * (1.0f - a) + Color(m) * a;
}

// Whether sc is a sample of the camera pass the painterly renderer is rendering.
bool isPainterlyCameraSample(const ShadeContext& sc, const vmlRenderer* r)
{
    if (!r || !r->globalContext() || sc.globContext != r->globalContext())
        return false;
    return sc.rayLevel == 0 && (static_cast<std::uint32_t>(sc.xshadeID) & shadeIdNotVisible) == 0 &&
           sc.mode != SCMODE_SHADOW;
}

}  // namespace

void vmlMaterial::Shade(ShadeContext& sc)
{
    Mtl* base = baseMtl_;
    if (!base)
        return;
    const BaseCache& bc = baseCache_;

    const Point3 normal = sc.Normal();
    bool bumped = false;
    if (bc.bumpEnable && bc.bumpAmount != 0 && bumpMap()) {
        Point3 d = bumpMap()->EvalNormalPerturb(sc) * (static_cast<float>(bc.bumpAmount) * 0.01f);
        if (sc.backFace)
            d = -d;
        sc.SetNormal(Normalize(normal + d));
        bumped = true;
    }

    shadeBase(*base, sc, bc.shading * 0.01f);

    ShadeOutput out = sc.out;
    for (int ch = 0; ch < 3; ++ch)
        if (out.t[ch] != 1.0f)
            out.c[ch] /= 1.0f - out.t[ch];

    if (bc.baseMatAlpha > 0.0f && bc.baseMatColorEnable) {
        Color col = bc.baseMatColor;
        if (bc.baseMatMapEnable && baseMatMap())
            col = overlayMap(col, baseMatMap(), bc.baseMatMapOpacity, sc);
        const float amount = bc.baseMatAlpha * 0.01f;
        if (amount != 0.0f)
            Blend(out.c, col, amount, blendMethodId(bc.baseMatBlend));
    }

    if (reflecMap() && bc.reflecEnable && bc.reflecAmount > 0 && reflectMtl()) {
        reflectMtl()->Shade(sc);
        const float amount = static_cast<float>(bc.reflecAmount) * 0.01f;
        if (amount != 0.0f)
            Blend(out.c, sc.out.c, amount, blendAdd);
    }

    if ((bc.hiLevel > 0 || hiLevelMap()) && highlightMtl()) {
        highlightMtl()->Shade(sc);
        const Color& shine = sc.out.c;
        const float i = std::min((shine.r + shine.g + shine.b) / 3.0f, 1.0f);
        const std::optional<float> h = highlightAmount(i, bc.hiLevel, bc.hiSharp);
        if (h && *h > 0.0f) {
            Color col = bc.hiColor;
            if (bc.hiMapEnable && hiMap())
                col = overlayMap(col, hiMap(), bc.hiMapOpacity, sc);
            Blend(out.c, col, *h, blendMethodId(bc.hiBlend));
            out.t *= 1.0f - *h;
        }
    }

    sc.out = out;
    // As every host material does, a zero id (none) leaves the base material's in place.
    if (const ULONG id = GetGBufferID(); id != 0)
        sc.SetGBufferID(static_cast<int>(id));
    if (bumped)
        sc.SetNormal(normal);

    vmlRenderer* r = currentRenderer;
    if (!isPainterlyCameraSample(sc, r)) {
        for (int ch = 0; ch < 3; ++ch)
            sc.out.c[ch] *= 1.0f - sc.out.t[ch];
        return;
    }

    // Tone mapping and atmosphere: the host offers neither (its render context holds no tone
    // operator or atmosphere to call), so the colour goes on unmapped and no atmosphere is
    // applied, neither to the sample nor to the background shown in its place.
    sc.out.c.ClampMinMax();

    const ShadingSample sample = ShadingSample::from(sc);
    placeStroke(*r, StrokePlacementSettings::of(bc, brushCache_), sample, this);
    r->insertSample(sample.where.pixel.x - r->cropX(), sample.where.pixel.y - r->cropY(),
                    makePixelSample(sample, this));

    // In a later pass of a multipass frame the renderer's background stand-in takes the
    // environment's place; without an environment behind it the surface still hides what lies
    // behind it, with the background an environment-less frame shows, or the strokes of hidden
    // surfaces would show through it.
    Texmap* environment = sc.globContext->envMap;
    auto* standIn = dynamic_cast<vmlBgMap*>(environment);
    if (standIn)
        environment = standIn->inner();
    if (bc.baseHiddenFace && !environment && standIn) {
        Interval valid = FOREVER;
        Interface* core = GetCOREInterface();
        sc.out.c = core ? core->GetBackGround(sc.globContext->time, valid) : Color(0.0f, 0.0f, 0.0f);
        sc.out.t = Color(0.0f, 0.0f, 0.0f);
    } else if (bc.baseHiddenFace && !environment) {
        sc.GetBGColor(sc.out.c, sc.out.t, FALSE);
    } else {
        sc.out.c = Color(0.0f, 0.0f, 0.0f);
        sc.out.t = Color(1.0f, 1.0f, 1.0f);
    }
}

}  // namespace vml
