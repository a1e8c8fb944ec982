#include "material/MaterialCacheBlocks.h"

#include "host/IParamBlock2.h"
#include "material/vmlMaterialParamBlocks.h"

#include <array>

namespace vml {

using namespace mtlcache;

namespace {

// Each visitor gets (parameter id, field) for every field, in record order.
template <class Cache, class Visit> void visitBase(Cache& c, Visit&& v)
{
    using namespace baseParam;
    v(shading, c.shading), v(hiColor, c.hiColor), v(hiBlend, c.hiBlend), v(hiLevel, c.hiLevel);
    v(hiGross, c.hiGross), v(hiAniso, c.hiAniso), v(hiOrient, c.hiOrient), v(hiMapEnable, c.hiMapEnable);
    v(hiMapOpacity, c.hiMapOpacity), v(bumpEnable, c.bumpEnable), v(bumpAmount, c.bumpAmount);
    v(reflecEnable, c.reflecEnable), v(reflecAmount, c.reflecAmount);
    v(baseMatColorEnable, c.baseMatColorEnable), v(baseMatColor, c.baseMatColor);
    v(baseMatBlend, c.baseMatBlend), v(baseMatAlpha, c.baseMatAlpha), v(baseMatMapEnable, c.baseMatMapEnable);
    v(baseMatMapOpacity, c.baseMatMapOpacity), v(baseHiddenFace, c.baseHiddenFace);
    v(baseRndAuto, c.baseRndAuto), v(baseRndInterval, c.baseRndInterval);
    v(baseRndMoveDetect, c.baseRndMoveDetect), v(hiSharp, c.hiSharp), v(brushOfsEnable, c.brushOfsEnable);
    v(brushOfs, c.brushOfs), v(brushOfsRnd, c.brushOfsRnd), v(brushNoSideDrop, c.brushNoSideDrop);
}

template <class Cache, class Visit> void visitBrush(Cache& c, Visit&& v)
{
    using namespace brushParam;
    v(brushOpacity, c.brushOpacity), v(brushSize, c.brushSize), v(brushSizeRnd, c.brushSizeRnd);
    v(brushSizeGeom, c.brushSizeGeom), v(brushAngle, c.brushAngle), v(brushAngleRnd, c.brushAngleRnd);
    v(brushAngleFit, c.brushAngleFit), v(brushAngleFitOfs, c.brushAngleFitOfs);
    v(brushDensity, c.brushDensity), v(brushRough, c.brushRough), v(brushGeometry, c.brushGeometry);
    v(brushFine, c.brushFine), v(brushFineRnd, c.brushFineRnd), v(brushFadeSize, c.brushFadeSize);
    v(brushFadeSizeThre, c.brushFadeSizeThre), v(brushFadeSizeRnd, c.brushFadeSizeRnd);
    v(brushFadeSizeLinear, c.brushFadeSizeLinear), v(brushFadeAlpha, c.brushFadeAlpha);
    v(brushFadeAlphaThre, c.brushFadeAlphaThre), v(brushFadeAlphaRnd, c.brushFadeAlphaRnd);
    v(brushFadeAlphaLinear, c.brushFadeAlphaLinear), v(brushZScaleEnable, c.brushZScaleEnable);
    v(brushZScaleStart, c.brushZScaleStart), v(brushZScaleEnd, c.brushZScaleEnd);
    v(brushOfsScrX, c.brushOfsScrX), v(brushOfsScrXRnd, c.brushOfsScrXRnd), v(brushOfsScrY, c.brushOfsScrY);
    v(brushOfsScrYRnd, c.brushOfsScrYRnd), v(brushOfsNorm, c.brushOfsNorm);
    v(brushOfsNormRnd, c.brushOfsNormRnd);
}

template <class Cache, class Visit> void visitStroke(Cache& c, Visit&& v)
{
    using namespace strokeParam;
    v(strokeLength, c.strokeLength), v(strokeLengthRnd, c.strokeLengthRnd);
    v(strokeLengthGeom, c.strokeLengthGeom), v(strokeAngle, c.strokeAngle),
        v(strokeAngleRnd, c.strokeAngleRnd);
    v(strokeAngleFit, c.strokeAngleFit), v(strokeAngleFitOfs, c.strokeAngleFitOfs);
    v(strokeOffset, c.strokeOffset), v(strokeOffsetRnd, c.strokeOffsetRnd);
    v(strokeDeformAmp, c.strokeDeformAmp), v(strokeDeformAmpRnd, c.strokeDeformAmpRnd);
    v(strokeDeformFreq, c.strokeDeformFreq), v(strokeDeformFreqRnd, c.strokeDeformFreqRnd);
    v(strokeDeformPhase, c.strokeDeformPhase), v(strokeDeformPhaseRnd, c.strokeDeformPhaseRnd);
    v(strokeRough, c.strokeRough), v(strokeRoughRnd, c.strokeRoughRnd), v(strokeRake, c.strokeRake);
    v(strokeDampSizeSt, c.strokeDampSizeSt), v(strokeDampSizeStPos, c.strokeDampSizeStPos);
    v(strokeDampSizeEd, c.strokeDampSizeEd), v(strokeDampSizeEdPos, c.strokeDampSizeEdPos);
    v(strokeDampSizeRnd, c.strokeDampSizeRnd), v(strokeDampAlphaSt, c.strokeDampAlphaSt);
    v(strokeDampAlphaStPos, c.strokeDampAlphaStPos), v(strokeDampAlphaEd, c.strokeDampAlphaEd);
    v(strokeDampAlphaEdPos, c.strokeDampAlphaEdPos), v(strokeDampAlphaRnd, c.strokeDampAlphaRnd);
    v(strokeSpace, c.strokeSpace), v(strokeSpaceRnd, c.strokeSpaceRnd);
}

template <class Cache, class Visit> void visitPaint(Cache& c, Visit&& v)
{
    using namespace paintParam;
    v(paintBlendMethod, c.paintBlendMethod), v(paintBlendAmount, c.paintBlendAmount);
    v(paintColorType, c.paintColorType), v(paintColorR, c.paintColorR), v(paintColorG, c.paintColorG);
    v(paintColorB, c.paintColorB), v(paintBlur, c.paintBlur), v(paintBlurRnd, c.paintBlurRnd);
    v(paintBlurBound, c.paintBlurBound), v(paintBlurBoundRnd, c.paintBlurBoundRnd), v(paintMix, c.paintMix);
    v(paintMixRnd, c.paintMixRnd), v(paintWind, c.paintWind), v(paintWindRnd, c.paintWindRnd);
    v(paintWindAngle, c.paintWindAngle), v(paintDry, c.paintDry), v(paintDryRnd, c.paintDryRnd);
    v(paintMonoEnable, c.paintMonoEnable), v(paintMonoAmount, c.paintMonoAmount);
    v(paintConEnable, c.paintConEnable), v(paintConAmount, c.paintConAmount);
    v(paintWhiteTransEnable, c.paintWhiteTransEnable), v(paintWhiteTransAmount, c.paintWhiteTransAmount);
}

// Order in which presets are written into the base and paint blocks.
constexpr std::array<ParamID, 28> baseApplyOrder = {1,  2,  3,  4,  5,  6,  7,  9,  10, 13, 14, 16, 17, 19,
                                                    20, 24, 25, 21, 23, 26, 27, 28, 29, 30, 31, 32, 33, 34};
constexpr std::array<ParamID, 23> paintApplyOrder = {1,  2,  16, 17, 3,  4,  5,  6,  7,  8,  9, 10,
                                                     11, 12, 13, 14, 15, 20, 21, 22, 23, 24, 25};

// Visitor that reads each field from the block.
auto reader(IParamBlock2& block, TimeValue t, Interval& valid)
{
    return [&block, t, &valid](ParamID id, auto& field) { block.GetValue(id, t, field, valid); };
}

// Visitor that writes each field into the block; with an order, it is applied once per listed id
// and writes only the field of that id.
auto writer(IParamBlock2& block, TimeValue t, ParamID only = -1)
{
    return [&block, t, only](ParamID id, const auto& field) {
        if (only < 0 || id == only)
            block.SetValue(id, t, field);
    };
}

}  // namespace

void readBaseCache(IParamBlock2& block, TimeValue t, BaseCache& cache, Interval& valid)
{
    visitBase(cache, reader(block, t, valid));
}

void readBrushCache(IParamBlock2& block, TimeValue t, BrushCache& cache, Interval& valid)
{
    visitBrush(cache, reader(block, t, valid));
}

void readStrokeCache(IParamBlock2& block, TimeValue t, StrokeCache& cache, Interval& valid)
{
    visitStroke(cache, reader(block, t, valid));
}

void readPaintCache(IParamBlock2& block, TimeValue t, PaintCache& cache, Interval& valid)
{
    visitPaint(cache, reader(block, t, valid));
}

void applyBaseCache(IParamBlock2& block, const BaseCache& cache, TimeValue t)
{
    for (ParamID id : baseApplyOrder)
        visitBase(cache, writer(block, t, id));
}

void applyBrushCache(IParamBlock2& block, const BrushCache& cache, TimeValue t)
{
    visitBrush(cache, writer(block, t));
}

void applyStrokeCache(IParamBlock2& block, const StrokeCache& cache, TimeValue t)
{
    visitStroke(cache, writer(block, t));
}

void applyPaintCache(IParamBlock2& block, const PaintCache& cache, TimeValue t)
{
    for (ParamID id : paintApplyOrder)
        visitPaint(cache, writer(block, t, id));
}

MaterialPresetValues materialBlockDefaults()
{
    MaterialPresetValues v;
    Interval ignored = FOREVER;
    IParamBlock2 base(&vmlMaterialBaseBlock());
    IParamBlock2 brush(&vmlMaterialBrushBlock());
    IParamBlock2 stroke(&vmlMaterialStrokeBlock());
    IParamBlock2 paint(&vmlMaterialPaintBlock());
    readBaseCache(base, 0, v.base, ignored);
    readBrushCache(brush, 0, v.brush, ignored);
    readStrokeCache(stroke, 0, v.stroke, ignored);
    readPaintCache(paint, 0, v.paint, ignored);
    return v;
}

}  // namespace vml
