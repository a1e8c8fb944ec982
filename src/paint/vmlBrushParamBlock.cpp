#include "paint/vmlBrushParamBlock.h"

#include "resources/StringIds.h"

namespace vml {

namespace {

constexpr int A = P_ANIMATABLE;

// Track-view names of parameters 0 to 18 follow the first one in parameter order; only some have
// texts.
constexpr int nameId(ParamID id) { return strings::brushMapOpacity + id; }
static_assert(nameId(brushMapParam::brushMapType) == strings::brushType);
static_assert(nameId(brushMapParam::brushMapDampEnd) == strings::brushFalloffEnd);

}  // namespace

// Dialog 113. The size spinner steps by 0.01, every other float spinner by 0.1.
ParamBlockDesc2& vmlBrushParamBlock()
{
    using namespace brushMapParam;
    static ParamBlockDesc2 desc = [] {
        ParamBlockDesc2 d(vmlBrushBlockId, "parameters", strings::brushEditorTitle,
                          P_AUTO_CONSTRUCT | P_AUTO_UI, 0);
        d.SetRollout(113, strings::brushEditorTitle);
        d.addFloat(brushMapMapOpacity, "brushMapMapOpacity", 100.0f, 0.0f, 100.0f, nameId(brushMapMapOpacity),
                   A)
            .addBool(brushMapMapEnable, "brushMapMapEnable", true, nameId(brushMapMapEnable), A)
            .addRef(brushMapMap, "brushMapMap", TYPE_TEXMAP, nameId(brushMapMap))
            .addInt(brushMapType, "brushMapType", 1, 0, 1, nameId(brushMapType), A)
            .addFloat(brushMapStretch, "brushMapStretch", 0.0f, -100.0f, 100.0f, nameId(brushMapStretch), A)
            .addFloat(brushMapStretchRnd, "brushMapStretchRnd", 0.0f, 0.0f, 100.0f,
                      nameId(brushMapStretchRnd), A)
            .addFloat(brushMapAngle, "brushMapAngle", 0.0f, -3600.0f, 3600.0f, nameId(brushMapAngle), A)
            .addFloat(brushMapAngleRnd, "brushMapAngleRnd", 100.0f, 0.0f, 360.0f, nameId(brushMapAngleRnd), A)
            .addFloat(brushMapGroove, "brushMapGroove", 100.0f, 0.0f, 100.0f, nameId(brushMapGroove), A)
            .addInt(brushMapGrooveNUM, "brushMapGrooveNUM", 5, 3, 20, nameId(brushMapGrooveNUM), A)
            .addFloat(brushMapSize, "brushMapSize", 5.0f, 0.1f, 100.0f, nameId(brushMapSize), A)
            .addFloat(brushMapSizeRnd, "brushMapSizeRnd", 0.0f, 0.0f, 100.0f, nameId(brushMapSizeRnd), A)
            .addFloat(brushMapAnti, "brushMapAnti", 25.0f, 0.0f, 1000.0f, nameId(brushMapAnti), A)
            .addFloat(brushMapHSpace, "brushMapHSpace", 0.0f, 0.0f, 100.0f, nameId(brushMapHSpace), A)
            .addFloat(brushMapHSpaceRand, "brushMapHSpaceRand", 0.0f, 0.0f, 100.0f,
                      nameId(brushMapHSpaceRand), A)
            .addFloat(brushMapVSpace, "brushMapVSpace", 0.0f, 0.0f, 100.0f, nameId(brushMapVSpace), A)
            .addFloat(brushMapVSpaceRand, "brushMapVSpaceRand", 0.0f, 0.0f, 100.0f,
                      nameId(brushMapVSpaceRand), A)
            .addFloat(brushMapDampStart, "brushMapDampStart", 50.0f, 0.0f, 100.0f, nameId(brushMapDampStart),
                      A)
            .addFloat(brushMapDampEnd, "brushMapDampEnd", 100.0f, 0.0f, 100.0f, nameId(brushMapDampEnd), A)
            .addBool(brushCacheDisable, "brushCacheDisable", false, strings::disableBrushCache)
            .addInt(brushRndNum, "brushRndNum", 5, 1, 10, strings::brushRandomPatterns);
        // Template 113: parameter p's control is 1502 + 2p (a spinner's edit field one less). The
        // brush type list is the editor's code.
        d.control(brushMapMapEnable, ParamControl::checkBox, {1504})
            .control(brushMapMap, ParamControl::mapButton, {1506})
            .control(brushCacheDisable, ParamControl::checkBox, {1540});
        for (ParamID p = brushMapMapOpacity; p <= brushRndNum; ++p) {
            const bool integer = p == brushMapGrooveNUM || p == brushRndNum;
            const float step = integer ? 1.0f : p == brushMapSize ? 0.01f : 0.1f;
            if (p != brushMapMapEnable && p != brushMapMap && p != brushMapType && p != brushCacheDisable)
                d.control(p, ParamControl::spinner, {1501 + 2 * p, 1502 + 2 * p}, step);
        }
        return d;
    }();
    return desc;
}

}  // namespace vml
