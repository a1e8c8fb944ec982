#include "paint/PaintBlockParams.h"

namespace vml {

void addPaintParameters(ParamBlockDesc2& d, int colorTypeDefault, float colorJitterDefault)
{
    using namespace paintParam;
    constexpr int A = P_ANIMATABLE;
    d.addBool(paintBlendEnable, "paintBlendEnable", false, 400, A)
        .addInt(paintBlendMethod, "paintBlendMethod", 0, 0, 15, 401)
        // The amount carries the enable switch's label (string 402).
        .addFloat(paintBlendAmount, "paintBlendAmount", 100.0f, 0.0f, 100.0f, 402, A)
        .addBool(paintMonoEnable, "paintMonoEnable", false, 416, A)
        .addFloat(paintMonoAmount, "paintMonoAmount", 100.0f, 0.0f, 100.0f, 417, A)
        .addInt(paintColorType, "paintColorType", colorTypeDefault, 0, 1, 406)
        .addFloat(paintColorR, "paintColorR", colorJitterDefault, 0.0f, 100.0f, 403, A)
        .addFloat(paintColorG, "paintColorG", colorJitterDefault, 0.0f, 100.0f, 404, A)
        .addFloat(paintColorB, "paintColorB", colorJitterDefault, 0.0f, 100.0f, 405, A)
        .addFloat(paintBlur, "paintBlur", 0.0f, 0.0f, 100.0f, 407, A)
        .addFloat(paintBlurRnd, "paintBlurRnd", 0.0f, 0.0f, 100.0f, 408, A)
        .addFloat(paintBlurBound, "paintBlurBound", 0.0f, 0.0f, 100.0f, 409, A)
        .addFloat(paintBlurBoundRnd, "paintBlurBoundRnd", 0.0f, 0.0f, 100.0f, 410, A)
        .addFloat(paintMix, "paintMix", 0.0f, 0.0f, 100.0f, 411, A)
        .addFloat(paintMixRnd, "paintMixRnd", 0.0f, 0.0f, 100.0f, 412, A)
        .addFloat(paintWind, "paintWind", 0.0f, 0.0f, 100.0f, 413, A)
        .addFloat(paintWindRnd, "paintWindRnd", 0.0f, 0.0f, 100.0f, 414, A)
        .addFloat(paintWindAngle, "paintWindAngle", 90.0f, -3600.0f, 3600.0f, 415, A)
        .addFloat(paintDry, "paintDry", 0.0f, 0.0f, 100.0f, 420, A)
        .addFloat(paintDryRnd, "paintDryRnd", 0.0f, 0.0f, 100.0f, 421, A)
        .addBool(paintWhiteTransEnable, "paintWhiteTransEnable", false, 422, A)
        .addFloat(paintWhiteTransAmount, "paintWhiteTransAmount", 100.0f, 0.0f, 100.0f, 423, A)
        .addBool(paintConEnable, "paintConEnable", false, 424, A)
        .addFloat(paintConAmount, "paintConAmount", 100.0f, -100.0f, 100.0f, 425, A);
}

}  // namespace vml
