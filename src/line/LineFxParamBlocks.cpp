#include "line/LineFxParamBlocks.h"

#include "host/Rollout.h"
#include "resources/StringIds.h"

namespace vml {

namespace {
constexpr int autoBlock = P_AUTO_CONSTRUCT | P_AUTO_UI;
constexpr int A = P_ANIMATABLE;
constexpr int lineMapRef = 2;  // the element's reference that holds lineMap

ParamBlockDesc2 withRollout(BlockID id, const char* name, int dialog, int title, DWORD flags = 0)
{
    ParamBlockDesc2 d(id, name, title, autoBlock, id);
    d.SetRollout(dialog, title, flags);
    return d;
}
}  // namespace

ParamBlockDesc2& lineFxManagerParamsBlock()
{
    using namespace lineFxParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d = withRollout(0, "parameters", 114, strings::lineParameters);
        d.addBool(lineOutRenderElement, "lineOutRenderElement", false, strings::outputToRenderElementOnly, A)
            .addFilename(lineLoadAll, "lineLoadAll", "", strings::loadLineFile)
            .addFilename(lineSaveAll, "lineSaveAll", "", strings::saveLineFile);
        // The file names are driven by the rollout's file buttons (1077, 1078), not bound.
        d.control(lineOutRenderElement, ParamControl::checkBox, {1063});
        return d;
    }();
    return desc;
}

// Blocks 1-3 have no parameters: each only opens a rollout.

ParamBlockDesc2& lineFxManagerElementBlock()
{
    static ParamBlockDesc2 desc = withRollout(1, "parameters", 120, strings::lineElements);
    return desc;
}

ParamBlockDesc2& lineFxManagerPaintBlock()
{
    static ParamBlockDesc2 desc = withRollout(2, "paint", 120, strings::paintRollout);
    return desc;
}

ParamBlockDesc2& lineFxManagerVersionBlock()
{
    static ParamBlockDesc2 desc = withRollout(3, "version", 122, strings::lineVersion, APPENDROLL_CLOSED);
    return desc;
}

ParamBlockDesc2& lineFxElementParamsBlock()
{
    using namespace lineParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
        d.addInt(elemID, "elemID", 0, 0, 999, strings::lineElementNumber)
            .addInt(lineMatID, "lineMatID", 1, 0, 15, strings::lineMaterialId)
            .addInt(lineBlend, "lineBlend", 0, 0, 15, strings::lineBlend)
            .addFloat(lineAlpha, "lineAlpha", 100.0f, 0.0f, 100.0f, strings::lineOpacity, A)
            .addColor(lineColor, "lineColor", Color(0.0f, 0.0f, 0.0f), strings::lineColor, A)
            .addFloat(lineMapOpacity, "lineMapOpacity", 100.0f, 0.0f, 100.0f, strings::lineMapOpacity, A)
            .addBool(lineMapEnable, "lineMapEnable", true, strings::enableLineMap, A)
            .addOwnerRef(lineMap, "lineMap", TYPE_TEXMAP, lineMapRef, strings::lineMap)
            .addFloat(lineWidth, "lineWidth", 1.5f, 0.0f, 100.0f, strings::lineWidth)
            .addFloat(lineDeform, "lineDeform", 0.0f, -100.0f, 100.0f, strings::lineDeformation)
            .addFloat(lineStretch, "lineStretch", 0.0f, -100.0f, 100.0f, strings::lineStretch)
            .addFloat(lineAngle, "lineAngle", 0.0f, -36000.0f, 36000.0f, strings::lineAngle)
            .addBool(outlineObject, "outlineObject", false, strings::objectOutline, A)
            .addBool(outlineMaterial, "outlineMaterial", false, strings::materialOutline, A)
            .addBool(edgeMaterial, "edgeMaterial", false, strings::materialEdge, A)
            .addBool(edgeDepth, "edgeDepth", false, strings::depthEdge, A)
            .addBool(normal, "normal", false, strings::normalAngleEdge, A)
            .addFloat(edgeDepthThreshold, "edgeDepthThreshold", 100.0f, 0.0f, 10000.0f,
                      strings::depthEdgeThreshold, A)
            .addFloat(normalMin, "normalMin", 100.0f, 0.0f, 100.0f, strings::normalAngleMin, A)
            .addFloat(normalMax, "normalMax", 100.0f, 0.0f, 100.0f, strings::normalAngleMax, A)
            .addFloat(normalDepth, "normalDepth", 100.0f, 0.0f, 10000.0f, strings::normalAngleDepth, A)
            .addFloat(lineZMin, "lineZMin", 100.0f, 1.0f, 1000000.0f, strings::lineDepthScaleNear, A)
            .addFloat(lineZMax, "lineZMax", 100.0f, 1.0f, 1000000.0f, strings::lineDepthScaleFar, A)
            .addBool(lineZScaleEnable, "lineZScaleEnable", false, strings::enableLineDepthScale, A)
            .addFloat(lineBlur, "lineBlur", 0.0f, 0.0f, 200.0f, strings::lineMotionBlur, A)
            .addFloat(lineBlurOffset, "lineBlurOffset", 50.0f, 0.0f, 100.0f, strings::lineMotionBlurOffset, A)
            .addString(lineName, "lineName", "", strings::lineName)
            // The on switch carries the name's label text in the Japanese table.
            .addBool(lineOn, "lineOn", true, strings::lineOn, A)
            .addFloat(outlineObjectThreshold, "outlineObjectThreshold", 0.0f, -10000.0f, 10000.0f,
                      strings::objectOutlineThreshold, A)
            .addFloat(outlineMaterialThreshold, "outlineMaterialThreshold", 0.0f, -10000.0f, 10000.0f,
                      strings::materialOutlineThreshold, A)
            .addFloat(lineZAlphaMin, "lineZAlphaMin", 100.0f, 1.0f, 1000000.0f, strings::lineDepthFadeNear, A)
            .addFloat(lineZAlphaMax, "lineZAlphaMax", 100.0f, 1.0f, 1000000.0f, strings::lineDepthFadeFar, A)
            .addBool(lineZAlphaEnable, "lineZAlphaEnable", false, strings::enableLineDepthFade, A)
            .addFilename(lineLoad, "lineLoad", "", strings::loadLineFile)
            .addFilename(lineSave, "lineSave", "", strings::saveLineFile)
            .addFloat(lineZAlphaMinValue, "lineZAlphaMinValue", 0.0f, 0.0f, 100.0f,
                      strings::lineDepthFadeNearOpacity, A)
            .addFloat(lineZAlphaMaxValue, "lineZAlphaMaxValue", 100.0f, 0.0f, 100.0f,
                      strings::lineDepthFadeFarOpacity, A);
        // lineBlend's combo lists the methods in drawing order, so the rollout's procedure drives it;
        // lineLoad and lineSave are the file buttons 1077 and 1078, also driven by the procedure.
        constexpr ParamControl spin = ParamControl::spinner;
        constexpr ParamControl box = ParamControl::checkBox;
        d.control(lineMatID, spin, {1040, 1041}, 1.0f)
            .control(lineAlpha, spin, {1049, 1050})
            .control(lineColor, ParamControl::colorSwatch, {1051})
            .control(lineMapOpacity, spin, {1052, 1053})
            .control(lineMapEnable, box, {1054})
            .control(lineMap, ParamControl::mapButton, {1055})
            .control(lineWidth, spin, {1024, 1025})
            .control(lineDeform, spin, {1026, 1027})
            .control(lineStretch, spin, {1028, 1029})
            .control(lineAngle, spin, {1030, 1031})
            .control(outlineObject, box, {1043})
            .control(outlineMaterial, box, {1061})
            .control(edgeMaterial, box, {1045})
            .control(edgeDepth, box, {1046})
            .control(normal, box, {1062})
            .control(edgeDepthThreshold, spin, {1056, 1058})
            .control(normalMin, spin, {1059, 1035})
            .control(normalMax, spin, {1057, 1034})
            .control(normalDepth, spin, {1060, 1036})
            .control(lineZMin, spin, {1071, 1072})
            .control(lineZMax, spin, {1073, 1074})
            .control(lineZScaleEnable, box, {1064})
            .control(lineBlur, spin, {1065, 1066})
            .control(lineBlurOffset, spin, {1067, 1068})
            .control(lineName, ParamControl::editText, {1044})
            .control(lineOn, box, {1075})
            .control(outlineObjectThreshold, spin, {1063, 1069})
            .control(outlineMaterialThreshold, spin, {1070, 1076})
            .control(lineZAlphaMin, spin, {1080, 1081})
            .control(lineZAlphaMax, spin, {1082, 1083})
            .control(lineZAlphaEnable, box, {1079})
            .control(lineZAlphaMaxValue, spin, {1087, 1088});
        return d;
    }();
    return desc;
}

ParamBlockDesc2& lineFxElementPaintBlock()
{
    using namespace linePaintParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(1, "paint", 0, P_AUTO_CONSTRUCT, 1);
        addPaintParameters(d, 0, 0.0f);
        d.addBool(paintRndSizeEnable, "paintRndSizeEnable", false, strings::enableRandomSize, A)
            .addFloat(paintRndSize, "paintRndSize", 1.5f, 0.0f, 100.0f, strings::randomSize, A);
        constexpr ParamControl spin = ParamControl::spinner;
        d.control(paintColorType, ParamControl::radio, {1048, 1049})
            .control(paintColorR, spin, {1050, 1051})
            .control(paintColorG, spin, {1052, 1053})
            .control(paintColorB, spin, {1054, 1055})
            .control(paintBlur, spin, {1029, 1030})
            .control(paintBlurRnd, spin, {1031, 1032})
            .control(paintBlurBound, spin, {1037, 1038})
            .control(paintBlurBoundRnd, spin, {1039, 1040})
            .control(paintMix, spin, {1033, 1034})
            .control(paintMixRnd, spin, {1035, 1036})
            .control(paintWind, spin, {1042, 1043})
            .control(paintWindRnd, spin, {1044, 1045})
            .control(paintWindAngle, spin, {1046, 1047})
            .control(paintDry, spin, {1062, 1063})
            .control(paintDryRnd, spin, {1064, 1065})
            .control(paintRndSizeEnable, ParamControl::checkBox, {1104})
            .control(paintRndSize, spin, {1059, 1060});
        return d;
    }();
    return desc;
}

}  // namespace vml
