#pragma once
// The paint parameters a painterly material and a line element share: the same ids, names,
// ranges and labels, so a stroke and a line are painted with the same settings. The line element
// adds the random cell size (ids 18 and 19), which strokes do not have.

#include "host/ParamBlockDesc2.h"

namespace vml {

namespace paintParam {
enum : ParamID {
    paintBlendEnable = 0,
    paintBlendMethod = 1,  // blendMethodTable position
    paintBlendAmount = 2,
    paintColorType = 3,  // 0 RGB, 1 HSV
    paintColorR = 4,
    paintColorG = 5,
    paintColorB = 6,
    paintBlur = 7,
    paintBlurRnd = 8,
    paintBlurBound = 9,
    paintBlurBoundRnd = 10,
    paintMix = 11,
    paintMixRnd = 12,
    paintWind = 13,
    paintWindRnd = 14,
    paintWindAngle = 15,
    paintMonoEnable = 16,
    paintMonoAmount = 17,
    paintRndSizeEnable = 18,  // line elements only
    paintRndSize = 19,        // line elements only
    paintDry = 20,
    paintDryRnd = 21,
    paintWhiteTransEnable = 22,
    paintWhiteTransAmount = 23,
    paintConEnable = 24,
    paintConAmount = 25,
};
}  // namespace paintParam

// Declares the shared paint parameters (all but 18 and 19) in their order. The two kinds differ
// only in the defaults of the colour type and the colour jitter.
void addPaintParameters(ParamBlockDesc2& block, int colorTypeDefault, float colorJitterDefault);

}  // namespace vml
