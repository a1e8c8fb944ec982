#pragma once
// Shared pieces of the line element tests: a copyable stand-in map and a settings record with
// every mirrored word away from its block default.

#include "line/LineSettings.h"
#include "support/ToneMap.h"

namespace test_support {

// Distinct values for every word that mirrors a parameter; the switches all on.
inline vml::LineSettings distinctSettings()
{
    vml::LineSettings s;
    s.lineOn = 0;
    s.lineMatID = 7;
    s.lineBlend = 12;
    s.lineAlpha = 61.5f;
    s.lineColor[0] = 0.25f;
    s.lineColor[1] = 0.5f;
    s.lineColor[2] = 0.75f;
    s.lineMapOpacity = 33.0f;
    s.lineMapEnable = 0;
    s.lineWidth = 4.25f;
    s.lineDeform = -12.0f;
    s.lineStretch = 22.0f;
    s.lineAngle = 135.0f;
    s.lineZMin = 250.0f;
    s.lineZMax = 900.0f;
    s.lineZScaleEnable = 1;
    s.lineZAlphaMin = 300.0f;
    s.lineZAlphaMax = 1200.0f;
    s.lineZAlphaMinValue = 15.0f;
    s.lineZAlphaMaxValue = 85.0f;
    s.lineZAlphaEnable = 1;
    s.lineBlur = 140.0f;
    s.lineBlurOffset = 20.0f;
    s.outlineObjectThreshold = -5.5f;
    s.outlineMaterialThreshold = 6.5f;
    s.edgeDepthThreshold = 42.0f;
    s.normalMin = 10.0f;
    s.normalMax = 90.0f;
    s.normalDepth = 77.0f;
    s.outlineObject = s.outlineMaterial = s.edgeMaterial = s.edgeDepth = s.normal = 1;
    s.paintColorType = 1;
    s.paintColorR = 11.0f;
    s.paintColorG = 12.0f;
    s.paintColorB = 13.0f;
    s.paintBlur = 14.0f;
    s.paintBlurRnd = 15.0f;
    s.paintBlurBound = 16.0f;
    s.paintBlurBoundRnd = 17.0f;
    s.paintMix = 18.0f;
    s.paintMixRnd = 19.0f;
    s.paintWind = 20.0f;
    s.paintWindRnd = 21.0f;
    s.paintWindAngle = -45.0f;
    s.paintRndSizeEnable = 1;
    s.paintRndSize = 3.5f;
    s.paintDry = 23.0f;
    s.paintDryRnd = 24.0f;
    return s;
}

}  // namespace test_support
