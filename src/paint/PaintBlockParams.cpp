#include "paint/PaintBlockParams.h"
#include "resources/StringIds.h"

namespace vml {

void addPaintParameters(ParamBlockDesc2& d, int colorTypeDefault, float colorJitterDefault)
{
    using namespace paintParam;
    constexpr int A = P_ANIMATABLE;
    d.addBool(paintBlendEnable, "paintBlendEnable", false, strings::enablePaintBlend, A)
        .addInt(paintBlendMethod, "paintBlendMethod", 0, 0, 15, strings::paintBlendMethod)
        // The amount carries the enable switch's label in the Japanese table.
        .addFloat(paintBlendAmount, "paintBlendAmount", 100.0f, 0.0f, 100.0f, strings::paintBlendAmount, A)
        .addBool(paintMonoEnable, "paintMonoEnable", false, strings::enablePaintMonochrome, A)
        .addFloat(paintMonoAmount, "paintMonoAmount", 100.0f, 0.0f, 100.0f, strings::paintMonochromeAmount, A)
        .addInt(paintColorType, "paintColorType", colorTypeDefault, 0, 1, strings::paintColorType)
        .addFloat(paintColorR, "paintColorR", colorJitterDefault, 0.0f, 100.0f, strings::paintColorJitterR, A)
        .addFloat(paintColorG, "paintColorG", colorJitterDefault, 0.0f, 100.0f, strings::paintColorJitterG, A)
        .addFloat(paintColorB, "paintColorB", colorJitterDefault, 0.0f, 100.0f, strings::paintColorJitterB, A)
        .addFloat(paintBlur, "paintBlur", 0.0f, 0.0f, 100.0f, strings::paintBleed, A)
        .addFloat(paintBlurRnd, "paintBlurRnd", 0.0f, 0.0f, 100.0f, strings::paintBleedRandom, A)
        .addFloat(paintBlurBound, "paintBlurBound", 0.0f, 0.0f, 100.0f, strings::paintBleedEdge, A)
        .addFloat(paintBlurBoundRnd, "paintBlurBoundRnd", 0.0f, 0.0f, 100.0f, strings::paintBleedEdgeRandom,
                  A)
        .addFloat(paintMix, "paintMix", 0.0f, 0.0f, 100.0f, strings::paintMix, A)
        .addFloat(paintMixRnd, "paintMixRnd", 0.0f, 0.0f, 100.0f, strings::paintMixRandom, A)
        .addFloat(paintWind, "paintWind", 0.0f, 0.0f, 100.0f, strings::paintFlow, A)
        .addFloat(paintWindRnd, "paintWindRnd", 0.0f, 0.0f, 100.0f, strings::paintFlowRandom, A)
        .addFloat(paintWindAngle, "paintWindAngle", 90.0f, -3600.0f, 3600.0f, strings::paintFlowAngle, A)
        .addFloat(paintDry, "paintDry", 0.0f, 0.0f, 100.0f, strings::paintDryness, A)
        .addFloat(paintDryRnd, "paintDryRnd", 0.0f, 0.0f, 100.0f, strings::paintDrynessRandom, A)
        .addBool(paintWhiteTransEnable, "paintWhiteTransEnable", false, strings::enableWhiteTransparency, A)
        .addFloat(paintWhiteTransAmount, "paintWhiteTransAmount", 100.0f, 0.0f, 100.0f,
                  strings::whiteTransparencyAmount, A)
        .addBool(paintConEnable, "paintConEnable", false, strings::enablePaintContrast, A)
        .addFloat(paintConAmount, "paintConAmount", 100.0f, -100.0f, 100.0f, strings::paintContrastAmount, A);
}

}  // namespace vml
