#include "material/vmlMaterialParamBlocks.h"

#include "host/Rollout.h"

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
        ParamBlockDesc2 d = materialBlock(vmlMaterialBaseBlockId, "parameters", 100, 109);
        d.addOwnerRef(baseMaterial, "baseMaterial", TYPE_MTL, baseMaterialRef, 110)
            .addFloat(shading, "shading", 100.0f, 0.0f, 100.0f, 111, A)
            .addColor(hiColor, "hiColor", Color(1.0f, 1.0f, 1.0f), 112, A)
            .addInt(hiBlend, "hiBlend", 0, 0, 15, 113)
            .addInt(hiLevel, "hiLevel", 0, 0, 999, 105, A)
            .addInt(hiGross, "hiGross", 10, 0, 100, 106, A)
            .addFloat(hiMapOpacity, "hiMapOpacity", 100.0f, 0.0f, 100.0f, 107, A)
            .addBool(hiMapEnable, "hiMapEnable", true, 108, A)
            .addOwnerRef(hiMap, "hiMap", TYPE_TEXMAP, hiMapRef, 109)
            .addInt(hiAniso, "hiAniso", 0, 0, 100, 119, A)
            .addInt(hiOrient, "hiOrient", 0, -36000, 36000, 120, A)
            .addOwnerRef(hiLevelMap, "hiLevelMap", TYPE_TEXMAP, hiLevelMapRef, 121)
            .addOwnerRef(hiGrossMap, "hiGrossMap", TYPE_TEXMAP, hiGrossMapRef, 122)
            .addBool(bumpEnable, "bumpEnable", false, 115, A)
            .addInt(bumpAmount, "bumpAmount", 30, -999, 999, 116, A)
            .addOwnerRef(bumpMap, "bumpMap", TYPE_TEXMAP, bumpMapRef, 117)
            .addBool(reflecEnable, "reflecEnable", false, 118, A)
            .addInt(reflecAmount, "reflecAmount", 100, 0, 100, 127, A)
            .addOwnerRef(reflecMap, "reflecMap", TYPE_TEXMAP, reflecMapRef, 128)
            .addBool(baseMatColorEnable, "baseMatColorEnable", false, 129, A)
            .addColor(baseMatColor, "baseMatColor", Color(0.0f, 0.0f, 0.0f), 130, A)
            .addFloat(baseMatMapOpacity, "baseMatMapOpacity", 100.0f, 0.0f, 100.0f, 131, A)
            .addBool(baseMatMapEnable, "baseMatMapEnable", true, 135, A)
            .addOwnerRef(baseMatMap, "baseMatMap", TYPE_TEXMAP, baseMatMapRef, 132)
            .addInt(baseMatBlend, "baseMatBlend", 0, 0, 15, 133)
            .addFloat(baseMatAlpha, "baseMatAlpha", 100.0f, 0.0f, 100.0f, 134, A)
            .addBool(baseHiddenFace, "baseHiddenFace", true, 136, A)
            .addBool(baseRndAuto, "baseRndAuto", false, 137, A)
            .addInt(baseRndInterval, "baseRndInterval", 1, 1, 999, 123, A)
            .addBool(baseRndMoveDetect, "baseRndMoveDetect", false, 124, A)
            .addInt(hiSharp, "hiSharp", 0, 0, 100, 114, A)
            .addBool(brushOfsEnable, "brushOfsEnable", false, 143, A)
            .addFloat(brushOfs, "brushOfs", 0.0f, -1000000.0f, 1000000.0f, 141, A)
            .addFloat(brushOfsRnd, "brushOfsRnd", 0.0f, 0.0f, 1000000.0f, 142, A)
            .addBool(brushNoSideDrop, "brushNoSideDrop", false, 144, A);
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
        ParamBlockDesc2 d = materialBlock(vmlMaterialBrushBlockId, "brush", 102, 103);
        d.addOwnerRef(brushMap, "brushMap", TYPE_TEXMAP, brushMapRef, 217)
            .addFloat(brushOpacity, "brushOpacity", 100.0f, 0.0f, 100.0f, 209, A)
            .addFloat(brushSize, "brushSize", 10.0f, 0.1f, 100.0f, 200, A)
            .addFloat(brushSizeRnd, "brushSizeRnd", 0.0f, 0.0f, 100.0f, 201, A)
            .addFloat(brushSizeGeom, "brushSizeGeom", 0.0f, -100.0f, 100.0f, 208, A)
            .addFloat(brushAngle, "brushAngle", 0.0f, -3600.0f, 3600.0f, 202, A)
            // The angle's random amount carries the size-random label (string 203).
            .addFloat(brushAngleRnd, "brushAngleRnd", 360.0f, 0.0f, 360.0f, 203, A)
            .addFloat(brushAngleFit, "brushAngleFit", 0.0f, 0.0f, 100.0f, 218, A)
            .addFloat(brushAngleFitOfs, "brushAngleFitOfs", 0.0f, -3600.0f, 3600.0f, 219, A)
            .addFloat(brushDensity, "brushDensity", 26.0f, 0.01f, 100.0f, 204, A)
            .addFloat(brushRough, "brushRough", 1.0f, 0.0f, 100.0f, 205, A)
            .addFloat(brushGeometry, "brushGeometry", 0.0f, -100.0f, 100.0f, 216, A)
            .addFloat(brushFine, "brushFine", 0.0f, 0.0f, 100.0f, 206, A)
            .addFloat(brushFineRnd, "brushFineRnd", 0.0f, 0.0f, 100.0f, 207, A)
            .addFloat(brushFadeSize, "brushFadeSize", 0.0f, 0.0f, 200.0f, 210, A)
            .addFloat(brushFadeSizeThre, "brushFadeSizeThre", 0.0f, 0.0f, 100.0f, 211, A)
            .addFloat(brushFadeSizeRnd, "brushFadeSizeRnd", 0.0f, 0.0f, 100.0f, 212, A)
            .addFloat(brushFadeAlpha, "brushFadeAlpha", 0.0f, 0.0f, 200.0f, 213, A)
            .addFloat(brushFadeAlphaThre, "brushFadeAlphaThre", 0.0f, 0.0f, 100.0f, 214, A)
            .addFloat(brushFadeAlphaRnd, "brushFadeAlphaRnd", 0.0f, 0.0f, 100.0f, 215, A)
            .addFloat(brushFadeSizeLinear, "brushFadeSizeLinear", 100.0f, 0.0f, 100.0f, 220, A)
            .addFloat(brushFadeAlphaLinear, "brushFadeAlphaLinear", 100.0f, 0.0f, 100.0f, 221, A)
            .addBool(brushZScaleEnable, "brushZScaleEnable", false, 222, A)
            .addFloat(brushZScaleStart, "brushZScaleStart", 100.0f, 1.0f, 1000000.0f, 223, A)
            .addFloat(brushZScaleEnd, "brushZScaleEnd", 100.0f, 1.0f, 1000000.0f, 224, A)
            .addFloat(brushOfsScrX, "brushOfsScrX", 0.0f, -1000.0f, 1000.0f, 225, A)
            .addFloat(brushOfsScrXRnd, "brushOfsScrXRnd", 0.0f, 0.0f, 1000.0f, 226, A)
            .addFloat(brushOfsScrY, "brushOfsScrY", 0.0f, -1000.0f, 1000.0f, 227, A)
            .addFloat(brushOfsScrYRnd, "brushOfsScrYRnd", 0.0f, 0.0f, 1000.0f, 228, A)
            .addFloat(brushOfsNorm, "brushOfsNorm", 0.0f, -100.0f, 100.0f, 229, A)
            .addFloat(brushOfsNormRnd, "brushOfsNormRnd", 0.0f, 0.0f, 100.0f, 230, A);
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
        ParamBlockDesc2 d = materialBlock(vmlMaterialStrokeBlockId, "stroke", 103, 110);
        d.addFloat(strokeLength, "strokeLength", 0.0f, 0.0f, 1000.0f, 310, A)
            .addFloat(strokeLengthRnd, "strokeLengthRnd", 0.0f, 0.0f, 100.0f, 311, A)
            .addFloat(strokeLengthGeom, "strokeLengthGeom", 0.0f, -100.0f, 100.0f, 306, A)
            .addFloat(strokeAngle, "strokeAngle", 0.0f, -3600.0f, 3600.0f, 317, A)
            .addFloat(strokeAngleRnd, "strokeAngleRnd", 0.0f, 0.0f, 360.0f, 318, A)
            .addFloat(strokeAngleFit, "strokeAngleFit", 0.0f, 0.0f, 100.0f, 304, A)
            .addFloat(strokeAngleFitOfs, "strokeAngleFitOfs", 0.0f, -3600.0f, 3600.0f, 305, A)
            .addFloat(strokeOffset, "strokeOffset", 50.0f, 0.0f, 100.0f, 307, A)
            .addFloat(strokeOffsetRnd, "strokeOffsetRnd", 0.0f, 0.0f, 100.0f, 308, A)
            .addFloat(strokeDeformAmp, "strokeDeformAmp", 0.0f, 0.0f, 100.0f, 309, A)
            .addFloat(strokeDeformAmpRnd, "strokeDeformAmpRnd", 0.0f, 0.0f, 100.0f, 312, A)
            .addFloat(strokeDeformFreq, "strokeDeformFreq", 1.0f, 0.0f, 5.0f, 313, A)
            .addFloat(strokeDeformFreqRnd, "strokeDeformFreqRnd", 0.0f, 0.0f, 100.0f, 314, A)
            .addFloat(strokeDeformPhase, "strokeDeformPhase", 0.0f, 0.0f, 100.0f, 315, A)
            .addFloat(strokeDeformPhaseRnd, "strokeDeformPhaseRnd", 0.0f, 0.0f, 100.0f, 316, A)
            .addFloat(strokeRough, "strokeRough", 0.0f, 0.0f, 100.0f, 319, A)
            .addFloat(strokeRoughRnd, "strokeRoughRnd", 0.0f, 0.0f, 100.0f, 320, A)
            .addInt(strokeRake, "strokeRake", 0, 0, 2, 321)
            .addFloat(strokeDampSizeSt, "strokeDampSizeSt", 100.0f, 0.0f, 100.0f, 322, A)
            .addFloat(strokeDampSizeStPos, "strokeDampSizeStPos", 50.0f, 0.0f, 100.0f, 323, A)
            .addFloat(strokeDampSizeEd, "strokeDampSizeEd", 100.0f, 0.0f, 100.0f, 328, A)
            .addFloat(strokeDampSizeEdPos, "strokeDampSizeEdPos", 50.0f, 0.0f, 100.0f, 329, A)
            .addFloat(strokeDampSizeRnd, "strokeDampSizeRnd", 0.0f, 0.0f, 100.0f, 324, A)
            .addFloat(strokeDampAlphaSt, "strokeDampAlphaSt", 100.0f, 0.0f, 100.0f, 325, A)
            .addFloat(strokeDampAlphaStPos, "strokeDampAlphaStPos", 50.0f, 0.0f, 100.0f, 326, A)
            .addFloat(strokeDampAlphaEd, "strokeDampAlphaEd", 100.0f, 0.0f, 100.0f, 330, A)
            .addFloat(strokeDampAlphaEdPos, "strokeDampAlphaEdPos", 50.0f, 0.0f, 100.0f, 331, A)
            .addFloat(strokeDampAlphaRnd, "strokeDampAlphaRnd", 0.0f, 0.0f, 100.0f, 327, A)
            .addFloat(strokeSpace, "strokeSpace", 0.0f, 0.0f, 1000.0f, 332, A)
            .addFloat(strokeSpaceRnd, "strokeSpaceRnd", 0.0f, 0.0f, 100.0f, 333, A);
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
        ParamBlockDesc2 d = materialBlock(vmlMaterialPaintBlockId, "paint", 104, 111);
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
        materialBlock(vmlMaterialVersionBlockId, "version", 101, 104, APPENDROLL_CLOSED);
    return desc;
}

}  // namespace vml
