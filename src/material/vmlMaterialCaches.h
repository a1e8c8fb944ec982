#pragma once
// The plain copies of the material's block values that shading, stroke placement and painting
// read instead of the blocks, so that reading a value while rendering costs no host call. Bools
// and ints are 32-bit ints, floats 32-bit floats, colours three floats; percentages stay in the
// blocks' 0..100 scale and angles in degrees (readers multiply by 0.01). Blend fields hold a
// blendMethodTable position, not a method id. Field order is fixed; the preset records share it.
//
// The records live in their own namespace because the renderer's brush-tile cache is also called
// BrushCache; vmlMaterial names them as vmlMaterial::BaseCache and so on.

#include "host/Color.h"

#include <cstdint>

namespace vml::mtlcache {

struct BaseCache {
    float shading = 0.0f;
    Color hiColor;
    std::int32_t hiBlend = 0;
    std::int32_t hiLevel = 0;
    std::int32_t hiGross = 0;
    std::int32_t hiAniso = 0;
    std::int32_t hiOrient = 0;
    std::int32_t hiMapEnable = 0;
    float hiMapOpacity = 0.0f;
    std::int32_t bumpEnable = 0;
    std::int32_t bumpAmount = 0;
    std::int32_t reflecEnable = 0;
    std::int32_t reflecAmount = 0;
    std::int32_t baseMatColorEnable = 0;
    Color baseMatColor;
    std::int32_t baseMatBlend = 0;
    float baseMatAlpha = 0.0f;
    std::int32_t baseMatMapEnable = 0;
    float baseMatMapOpacity = 0.0f;
    std::int32_t baseHiddenFace = 0;
    std::int32_t baseRndAuto = 0;
    std::int32_t baseRndInterval = 0;
    std::int32_t baseRndMoveDetect = 0;
    std::int32_t hiSharp = 0;
    std::int32_t brushOfsEnable = 0;
    float brushOfs = 0.0f;
    float brushOfsRnd = 0.0f;
    std::int32_t brushNoSideDrop = 0;

    bool operator==(const BaseCache&) const = default;
};

// Brush parameters 1 to 16, then 20, 17, 18, 19, 21, 22, 23 to 30.
struct BrushCache {
    float brushOpacity = 0.0f;
    float brushSize = 0.0f;
    float brushSizeRnd = 0.0f;
    float brushSizeGeom = 0.0f;
    float brushAngle = 0.0f;
    float brushAngleRnd = 0.0f;
    float brushAngleFit = 0.0f;
    float brushAngleFitOfs = 0.0f;
    float brushDensity = 0.0f;
    float brushRough = 0.0f;
    float brushGeometry = 0.0f;
    float brushFine = 0.0f;
    float brushFineRnd = 0.0f;
    float brushFadeSize = 0.0f;
    float brushFadeSizeThre = 0.0f;
    float brushFadeSizeRnd = 0.0f;
    float brushFadeSizeLinear = 0.0f;
    float brushFadeAlpha = 0.0f;
    float brushFadeAlphaThre = 0.0f;
    float brushFadeAlphaRnd = 0.0f;
    float brushFadeAlphaLinear = 0.0f;
    std::int32_t brushZScaleEnable = 0;
    float brushZScaleStart = 0.0f;
    float brushZScaleEnd = 0.0f;
    float brushOfsScrX = 0.0f;
    float brushOfsScrXRnd = 0.0f;
    float brushOfsScrY = 0.0f;
    float brushOfsScrYRnd = 0.0f;
    float brushOfsNorm = 0.0f;
    float brushOfsNormRnd = 0.0f;

    bool operator==(const BrushCache&) const = default;
};

// Stroke parameters 0 to 29 in id order.
struct StrokeCache {
    float strokeLength = 0.0f;
    float strokeLengthRnd = 0.0f;
    float strokeLengthGeom = 0.0f;
    float strokeAngle = 0.0f;
    float strokeAngleRnd = 0.0f;
    float strokeAngleFit = 0.0f;
    float strokeAngleFitOfs = 0.0f;
    float strokeOffset = 0.0f;
    float strokeOffsetRnd = 0.0f;
    float strokeDeformAmp = 0.0f;
    float strokeDeformAmpRnd = 0.0f;
    float strokeDeformFreq = 0.0f;
    float strokeDeformFreqRnd = 0.0f;
    float strokeDeformPhase = 0.0f;
    float strokeDeformPhaseRnd = 0.0f;  // 0 in a material's cache when the block holds < 0 or >= 101
    float strokeRough = 0.0f;
    float strokeRoughRnd = 0.0f;
    std::int32_t strokeRake = 0;  // 0..2
    float strokeDampSizeSt = 0.0f;
    float strokeDampSizeStPos = 0.0f;
    float strokeDampSizeEd = 0.0f;
    float strokeDampSizeEdPos = 0.0f;
    float strokeDampSizeRnd = 0.0f;
    float strokeDampAlphaSt = 0.0f;
    float strokeDampAlphaStPos = 0.0f;
    float strokeDampAlphaEd = 0.0f;
    float strokeDampAlphaEdPos = 0.0f;
    float strokeDampAlphaRnd = 0.0f;
    float strokeSpace = 0.0f;
    float strokeSpaceRnd = 0.0f;

    bool operator==(const StrokeCache&) const = default;
};

// Paint parameters 1, 2, 3, 4 to 15, 20, 21, 16, 17, 24, 25, 22, 23; paintBlendEnable is not
// cached.
struct PaintCache {
    std::int32_t paintBlendMethod = 0;
    float paintBlendAmount = 0.0f;
    std::int32_t paintColorType = 0;
    float paintColorR = 0.0f;
    float paintColorG = 0.0f;
    float paintColorB = 0.0f;
    float paintBlur = 0.0f;
    float paintBlurRnd = 0.0f;
    float paintBlurBound = 0.0f;
    float paintBlurBoundRnd = 0.0f;
    float paintMix = 0.0f;
    float paintMixRnd = 0.0f;
    float paintWind = 0.0f;
    float paintWindRnd = 0.0f;
    float paintWindAngle = 0.0f;
    float paintDry = 0.0f;
    float paintDryRnd = 0.0f;
    std::int32_t paintMonoEnable = 0;
    float paintMonoAmount = 0.0f;
    std::int32_t paintConEnable = 0;
    float paintConAmount = 0.0f;
    std::int32_t paintWhiteTransEnable = 0;
    float paintWhiteTransAmount = 0.0f;

    bool operator==(const PaintCache&) const = default;
};

// Every field is four bytes (a colour twelve), so the records have no padding.
static_assert(sizeof(BaseCache) == 32 * 4);
static_assert(sizeof(BrushCache) == 30 * 4);
static_assert(sizeof(StrokeCache) == 30 * 4);
static_assert(sizeof(PaintCache) == 23 * 4);

}  // namespace vml::mtlcache
