#include "material/vmlMaterialParamBlocks.h"

#include "host/Rollout.h"
#include "resources/StringIds.h"

namespace vml {

namespace {

constexpr int A = P_ANIMATABLE;

// Every material block is built for each material as the reference of its id, with an automatic
// rollout titled by the block's name.
ParamBlockDesc2 materialBlock(BlockID id, const char* name, int titleId, int dialogId, DWORD rolloutFlags = 0)
{
    ParamBlockDesc2 d(id, name, titleId, P_AUTO_CONSTRUCT | P_AUTO_UI, id);
    d.SetRollout(dialogId, titleId, rolloutFlags);
    return d;
}

// Reference indices of the material that hold the block's map and material parameters.
enum : int {
    baseMaterialRef = 5,
    baseMatMapRef = 6,
    hiMapRef = 7,
    hiLevelMapRef = 8,
    hiGrossMapRef = 9,
    bumpMapRef = 10,
    reflecMapRef = 11,
    brushMapRef = 12,
};

}  // namespace

ParamBlockDesc2& vmlMaterialBaseBlock()
{
    using namespace baseParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d =
            materialBlock(vmlMaterialBaseBlockId, "parameters", strings::basicParameters, 109);
        d.addOwnerRef(baseMaterial, "baseMaterial", TYPE_MTL, baseMaterialRef, strings::baseMaterial)
            .addFloat(shading, "shading", 100.0f, 0.0f, 100.0f, strings::shading, A)
            .addColor(hiColor, "hiColor", Color(1.0f, 1.0f, 1.0f), strings::highlightColor, A)
            .addInt(hiBlend, "hiBlend", 0, 0, 15, strings::highlightBlend)
            .addInt(hiLevel, "hiLevel", 0, 0, 999, strings::highlightLevel, A)
            .addInt(hiGross, "hiGross", 10, 0, 100, strings::highlightGlossiness, A)
            .addFloat(hiMapOpacity, "hiMapOpacity", 100.0f, 0.0f, 100.0f, strings::highlightMapOpacity, A)
            .addBool(hiMapEnable, "hiMapEnable", true, strings::enableHighlightMap, A)
            .addOwnerRef(hiMap, "hiMap", TYPE_TEXMAP, hiMapRef, strings::highlightMap)
            .addInt(hiAniso, "hiAniso", 0, 0, 100, strings::highlightAnisotropy, A)
            .addInt(hiOrient, "hiOrient", 0, -36000, 36000, strings::highlightOrientation, A)
            .addOwnerRef(hiLevelMap, "hiLevelMap", TYPE_TEXMAP, hiLevelMapRef, strings::highlightLevelMap)
            .addOwnerRef(hiGrossMap, "hiGrossMap", TYPE_TEXMAP, hiGrossMapRef,
                         strings::highlightGlossinessMap)
            .addBool(bumpEnable, "bumpEnable", false, strings::enableBump, A)
            .addInt(bumpAmount, "bumpAmount", 30, -999, 999, strings::bumpAmount, A)
            .addOwnerRef(bumpMap, "bumpMap", TYPE_TEXMAP, bumpMapRef, strings::bumpMap)
            .addBool(reflecEnable, "reflecEnable", false, strings::enableReflection, A)
            .addInt(reflecAmount, "reflecAmount", 100, 0, 100, strings::reflectionAmount, A)
            .addOwnerRef(reflecMap, "reflecMap", TYPE_TEXMAP, reflecMapRef, strings::reflectionMap)
            .addBool(baseMatColorEnable, "baseMatColorEnable", false, strings::enableBaseColor, A)
            .addColor(baseMatColor, "baseMatColor", Color(0.0f, 0.0f, 0.0f), strings::baseColor, A)
            .addFloat(baseMatMapOpacity, "baseMatMapOpacity", 100.0f, 0.0f, 100.0f, strings::baseMapOpacity,
                      A)
            .addBool(baseMatMapEnable, "baseMatMapEnable", true, strings::enableBaseMap, A)
            .addOwnerRef(baseMatMap, "baseMatMap", TYPE_TEXMAP, baseMatMapRef, strings::baseMaterialMap)
            .addInt(baseMatBlend, "baseMatBlend", 0, 0, 15, strings::baseColorBlend)
            .addFloat(baseMatAlpha, "baseMatAlpha", 100.0f, 0.0f, 100.0f, strings::baseOpacity, A)
            .addBool(baseHiddenFace, "baseHiddenFace", true, strings::hiddenFaceRemoval, A)
            .addBool(baseRndAuto, "baseRndAuto", false, strings::reseedStrokesAutomatically, A)
            .addInt(baseRndInterval, "baseRndInterval", 1, 1, 999, strings::reseedInterval, A)
            .addBool(baseRndMoveDetect, "baseRndMoveDetect", false, strings::reseedOnlyWhileMoving, A)
            .addInt(hiSharp, "hiSharp", 0, 0, 100, strings::highlightSharpness, A)
            .addBool(brushOfsEnable, "brushOfsEnable", false, strings::enableBrushDepthOffset, A)
            .addFloat(brushOfs, "brushOfs", 0.0f, -1000000.0f, 1000000.0f, strings::brushDepthOffset, A)
            .addFloat(brushOfsRnd, "brushOfsRnd", 0.0f, 0.0f, 1000000.0f, strings::brushDepthOffsetRandom, A)
            .addBool(brushNoSideDrop, "brushNoSideDrop", false, strings::keepStrokesOnSurface, A);
        // Template 109. The two blend lists are the rollout's code; 1038 and 1039 show a marker.
        using C = ParamControl;
        d.control(baseMaterial, C::mapButton, {1100})
            .control(shading, C::spinner, {1101, 1102}, 0.1f)
            .control(hiColor, C::colorSwatch, {1103})
            .control(hiLevel, C::spinner, {1104, 1105}, 1.0f)
            .control(hiGross, C::spinner, {1106, 1107}, 1.0f)
            .control(hiMapOpacity, C::spinner, {1108, 1109}, 0.1f)
            .control(hiMapEnable, C::checkBox, {1110})
            .control(hiMap, C::mapButton, {1111})
            .control(hiAniso, C::spinner, {1112, 1113}, 1.0f)
            .control(hiOrient, C::spinner, {1114, 1115}, 1.0f)
            .control(hiLevelMap, C::mapButton, {1038})
            .control(hiGrossMap, C::mapButton, {1039})
            .control(bumpEnable, C::checkBox, {1116})
            .control(bumpAmount, C::spinner, {1117, 1118}, 1.0f)
            .control(bumpMap, C::mapButton, {1119})
            .control(reflecEnable, C::checkBox, {1120})
            .control(reflecAmount, C::spinner, {1121, 1122}, 1.0f)
            .control(reflecMap, C::mapButton, {1123})
            .control(baseMatColorEnable, C::checkBox, {1124})
            .control(baseMatColor, C::colorSwatch, {1125})
            .control(baseMatMapOpacity, C::spinner, {1126, 1127}, 0.1f)
            .control(baseMatMapEnable, C::checkBox, {1128})
            .control(baseMatMap, C::mapButton, {1129})
            .control(baseMatAlpha, C::spinner, {1130, 1131}, 0.1f)
            .control(baseHiddenFace, C::checkBox, {1132})
            .control(baseRndAuto, C::checkBox, {1133})
            .control(baseRndInterval, C::spinner, {1134, 1135}, 1.0f)
            .control(baseRndMoveDetect, C::checkBox, {1136})
            .control(hiSharp, C::spinner, {1137, 1138}, 1.0f)
            .control(brushOfsEnable, C::checkBox, {1139})
            .control(brushOfs, C::spinner, {1140, 1141}, 0.1f)
            .control(brushOfsRnd, C::spinner, {1142, 1143}, 0.1f)
            .control(brushNoSideDrop, C::checkBox, {1144});
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialBrushBlock()
{
    using namespace brushParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d = materialBlock(vmlMaterialBrushBlockId, "brush", strings::brushRollout, 103);
        d.addOwnerRef(brushMap, "brushMap", TYPE_TEXMAP, brushMapRef, strings::brushEditorSlot)
            .addFloat(brushOpacity, "brushOpacity", 100.0f, 0.0f, 100.0f, strings::brushOpacity, A)
            .addFloat(brushSize, "brushSize", 10.0f, 0.1f, 100.0f, strings::brushSize, A)
            .addFloat(brushSizeRnd, "brushSizeRnd", 0.0f, 0.0f, 100.0f, strings::brushSizeRandom, A)
            .addFloat(brushSizeGeom, "brushSizeGeom", 0.0f, -100.0f, 100.0f, strings::brushSizeByGeometry, A)
            .addFloat(brushAngle, "brushAngle", 0.0f, -3600.0f, 3600.0f, strings::brushAngle, A)
            // The angle's random amount carries the size-random label in the Japanese table.
            .addFloat(brushAngleRnd, "brushAngleRnd", 360.0f, 0.0f, 360.0f, strings::brushAngleRandom, A)
            .addFloat(brushAngleFit, "brushAngleFit", 0.0f, 0.0f, 100.0f, strings::brushAngleFit, A)
            .addFloat(brushAngleFitOfs, "brushAngleFitOfs", 0.0f, -3600.0f, 3600.0f,
                      strings::brushAngleFitOffset, A)
            .addFloat(brushDensity, "brushDensity", 26.0f, 0.01f, 100.0f, strings::brushDensity, A)
            .addFloat(brushRough, "brushRough", 1.0f, 0.0f, 100.0f, strings::brushRoughness, A)
            .addFloat(brushGeometry, "brushGeometry", 0.0f, -100.0f, 100.0f,
                      strings::brushRoughnessByGeometry, A)
            .addFloat(brushFine, "brushFine", 0.0f, 0.0f, 100.0f, strings::brushDetail, A)
            .addFloat(brushFineRnd, "brushFineRnd", 0.0f, 0.0f, 100.0f, strings::brushDetailRandom, A)
            .addFloat(brushFadeSize, "brushFadeSize", 0.0f, 0.0f, 200.0f, strings::brushSizeFade, A)
            .addFloat(brushFadeSizeThre, "brushFadeSizeThre", 0.0f, 0.0f, 100.0f,
                      strings::brushSizeFadeThreshold, A)
            .addFloat(brushFadeSizeRnd, "brushFadeSizeRnd", 0.0f, 0.0f, 100.0f, strings::brushSizeFadeRandom,
                      A)
            .addFloat(brushFadeAlpha, "brushFadeAlpha", 0.0f, 0.0f, 200.0f, strings::brushOpacityFade, A)
            .addFloat(brushFadeAlphaThre, "brushFadeAlphaThre", 0.0f, 0.0f, 100.0f,
                      strings::brushOpacityFadeThreshold, A)
            .addFloat(brushFadeAlphaRnd, "brushFadeAlphaRnd", 0.0f, 0.0f, 100.0f,
                      strings::brushOpacityFadeRandom, A)
            .addFloat(brushFadeSizeLinear, "brushFadeSizeLinear", 100.0f, 0.0f, 100.0f,
                      strings::brushSizeFadeLinearity, A)
            .addFloat(brushFadeAlphaLinear, "brushFadeAlphaLinear", 100.0f, 0.0f, 100.0f,
                      strings::brushOpacityFadeLinearity, A)
            .addBool(brushZScaleEnable, "brushZScaleEnable", false, strings::enableBrushDepthScale, A)
            .addFloat(brushZScaleStart, "brushZScaleStart", 100.0f, 1.0f, 1000000.0f,
                      strings::brushDepthScaleStart, A)
            .addFloat(brushZScaleEnd, "brushZScaleEnd", 100.0f, 1.0f, 1000000.0f, strings::brushDepthScaleEnd,
                      A)
            .addFloat(brushOfsScrX, "brushOfsScrX", 0.0f, -1000.0f, 1000.0f, strings::brushScreenOffsetX, A)
            .addFloat(brushOfsScrXRnd, "brushOfsScrXRnd", 0.0f, 0.0f, 1000.0f,
                      strings::brushScreenOffsetXRandom, A)
            .addFloat(brushOfsScrY, "brushOfsScrY", 0.0f, -1000.0f, 1000.0f, strings::brushScreenOffsetY, A)
            .addFloat(brushOfsScrYRnd, "brushOfsScrYRnd", 0.0f, 0.0f, 1000.0f,
                      strings::brushScreenOffsetYRandom, A)
            .addFloat(brushOfsNorm, "brushOfsNorm", 0.0f, -100.0f, 100.0f, strings::brushNormalOffset, A)
            .addFloat(brushOfsNormRnd, "brushOfsNormRnd", 0.0f, 0.0f, 100.0f,
                      strings::brushNormalOffsetRandom, A);
        // Template 103: parameter p's spinner is 1200 + 2p, its edit field one less.
        d.control(brushMap, ParamControl::mapButton, {1200})
            .control(brushZScaleEnable, ParamControl::checkBox, {1243});
        for (ParamID p = brushOpacity; p <= brushOfsNormRnd; ++p) {
            const bool fine = p == brushSize || p == brushRough || p == brushOfsNorm || p == brushOfsNormRnd;
            if (p != brushZScaleEnable)
                d.control(p, ParamControl::spinner, {1199 + 2 * p, 1200 + 2 * p}, fine ? 0.01f : 0.1f);
        }
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialStrokeBlock()
{
    using namespace strokeParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d = materialBlock(vmlMaterialStrokeBlockId, "stroke", strings::strokeRollout, 110);
        d.addFloat(strokeLength, "strokeLength", 0.0f, 0.0f, 1000.0f, strings::strokeLength, A)
            .addFloat(strokeLengthRnd, "strokeLengthRnd", 0.0f, 0.0f, 100.0f, strings::strokeLengthRandom, A)
            .addFloat(strokeLengthGeom, "strokeLengthGeom", 0.0f, -100.0f, 100.0f,
                      strings::strokeLengthByGeometry, A)
            .addFloat(strokeAngle, "strokeAngle", 0.0f, -3600.0f, 3600.0f, strings::strokeAngle, A)
            .addFloat(strokeAngleRnd, "strokeAngleRnd", 0.0f, 0.0f, 360.0f, strings::strokeAngleRandom, A)
            .addFloat(strokeAngleFit, "strokeAngleFit", 0.0f, 0.0f, 100.0f, strings::strokeAngleFit, A)
            .addFloat(strokeAngleFitOfs, "strokeAngleFitOfs", 0.0f, -3600.0f, 3600.0f,
                      strings::strokeAngleFitOffset, A)
            .addFloat(strokeOffset, "strokeOffset", 50.0f, 0.0f, 100.0f, strings::strokeOffset, A)
            .addFloat(strokeOffsetRnd, "strokeOffsetRnd", 0.0f, 0.0f, 100.0f, strings::strokeOffsetRandom, A)
            .addFloat(strokeDeformAmp, "strokeDeformAmp", 0.0f, 0.0f, 100.0f, strings::strokeDeformAmplitude,
                      A)
            .addFloat(strokeDeformAmpRnd, "strokeDeformAmpRnd", 0.0f, 0.0f, 100.0f,
                      strings::strokeDeformAmplitudeRandom, A)
            .addFloat(strokeDeformFreq, "strokeDeformFreq", 1.0f, 0.0f, 5.0f, strings::strokeDeformFrequency,
                      A)
            .addFloat(strokeDeformFreqRnd, "strokeDeformFreqRnd", 0.0f, 0.0f, 100.0f,
                      strings::strokeDeformFrequencyRandom, A)
            .addFloat(strokeDeformPhase, "strokeDeformPhase", 0.0f, 0.0f, 100.0f, strings::strokeDeformPhase,
                      A)
            .addFloat(strokeDeformPhaseRnd, "strokeDeformPhaseRnd", 0.0f, 0.0f, 100.0f,
                      strings::strokeDeformPhaseRandom, A)
            .addFloat(strokeRough, "strokeRough", 0.0f, 0.0f, 100.0f, strings::strokeRoughness, A)
            .addFloat(strokeRoughRnd, "strokeRoughRnd", 0.0f, 0.0f, 100.0f, strings::strokeRoughnessRandom, A)
            .addInt(strokeRake, "strokeRake", 0, 0, 2, strings::strokeRake)
            .addFloat(strokeDampSizeSt, "strokeDampSizeSt", 100.0f, 0.0f, 100.0f,
                      strings::strokeSizeTaperStart, A)
            .addFloat(strokeDampSizeStPos, "strokeDampSizeStPos", 50.0f, 0.0f, 100.0f,
                      strings::strokeSizeTaperStartPosition, A)
            .addFloat(strokeDampSizeEd, "strokeDampSizeEd", 100.0f, 0.0f, 100.0f, strings::strokeSizeTaperEnd,
                      A)
            .addFloat(strokeDampSizeEdPos, "strokeDampSizeEdPos", 50.0f, 0.0f, 100.0f,
                      strings::strokeSizeTaperEndPosition, A)
            .addFloat(strokeDampSizeRnd, "strokeDampSizeRnd", 0.0f, 0.0f, 100.0f,
                      strings::strokeSizeTaperRandom, A)
            .addFloat(strokeDampAlphaSt, "strokeDampAlphaSt", 100.0f, 0.0f, 100.0f,
                      strings::strokeOpacityTaperStart, A)
            .addFloat(strokeDampAlphaStPos, "strokeDampAlphaStPos", 50.0f, 0.0f, 100.0f,
                      strings::strokeOpacityTaperStartPosition, A)
            .addFloat(strokeDampAlphaEd, "strokeDampAlphaEd", 100.0f, 0.0f, 100.0f,
                      strings::strokeOpacityTaperEnd, A)
            .addFloat(strokeDampAlphaEdPos, "strokeDampAlphaEdPos", 50.0f, 0.0f, 100.0f,
                      strings::strokeOpacityTaperEndPosition, A)
            .addFloat(strokeDampAlphaRnd, "strokeDampAlphaRnd", 0.0f, 0.0f, 100.0f,
                      strings::strokeOpacityTaperRandom, A)
            .addFloat(strokeSpace, "strokeSpace", 0.0f, 0.0f, 1000.0f, strings::strokeSpacing, A)
            .addFloat(strokeSpaceRnd, "strokeSpaceRnd", 0.0f, 0.0f, 100.0f, strings::strokeSpacingRandom, A);
        // Template 110: parameter p's spinner is 1302 + 2p. The stroke mode radios are the
        // rollout's code.
        for (ParamID p = strokeLength; p <= strokeSpaceRnd; ++p) {
            const float step = p == strokeLength ? 0.01f : p == strokeDeformFreq ? 0.001f : 0.1f;
            if (p != strokeRake)
                d.control(p, ParamControl::spinner, {1301 + 2 * p, 1302 + 2 * p}, step);
        }
        return d;
    }();
    return desc;
}

ParamBlockDesc2& vmlMaterialPaintBlock()
{
    using namespace paintParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d = materialBlock(vmlMaterialPaintBlockId, "paint", strings::paintRollout, 111);
        addPaintParameters(d, 1, 6.0f);
        // Template 111: parameter p's spinner or check box is 1402 + 2p. The blend switch, blend
        // list and colour type are the rollout's code.
        for (ParamID p : {paintMonoEnable, paintWhiteTransEnable, paintConEnable})
            d.control(p, ParamControl::checkBox, {1402 + 2 * p});
        for (ParamID p :
             {paintBlendAmount, paintMonoAmount, paintColorR, paintColorG, paintColorB, paintBlur,
              paintBlurRnd, paintBlurBound, paintBlurBoundRnd, paintMix, paintMixRnd, paintWind, paintWindRnd,
              paintWindAngle, paintDry, paintDryRnd, paintWhiteTransAmount, paintConAmount})
            d.control(p, ParamControl::spinner, {1401 + 2 * p, 1402 + 2 * p}, 0.1f);
        return d;
    }();
    return desc;
}

// The version block has no parameters; it exists for its rollout, which starts rolled up.
ParamBlockDesc2& vmlMaterialVersionBlock()
{
    static ParamBlockDesc2 desc =
        materialBlock(vmlMaterialVersionBlockId, "version", strings::materialVersion, 104, APPENDROLL_CLOSED);
    return desc;
}

}  // namespace vml
