#pragma once
// The flat settings record of one line element: 65 32-bit words, the unit that line drawing
// reads every frame and that element files and the settings file store word for word. Words
// 0-33 and 48-64 mirror block parameters; 34-47 are derived from them before drawing. Booleans
// and ints are 32-bit integers (0 or 1 for a switch), everything else 32-bit floats.

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace vml {

struct LineSettings {
    // Element block "parameters".
    std::int32_t lineOn = 0;                  // 0
    std::int32_t lineMatID = 0;               // 1
    std::int32_t lineBlend = 0;               // 2, blendMethodTable position
    float lineAlpha = 0.0f;                   // 3
    float lineColor[3] = {0.0f, 0.0f, 0.0f};  // 4-6, r g b
    float lineMapOpacity = 0.0f;              // 7
    std::int32_t lineMapEnable = 0;           // 8
    float lineWidth = 0.0f;                   // 9
    float lineDeform = 0.0f;                  // 10
    float lineStretch = 0.0f;                 // 11
    float lineAngle = 0.0f;                   // 12, degrees
    float lineZMin = 0.0f;                    // 13
    float lineZMax = 0.0f;                    // 14
    std::int32_t lineZScaleEnable = 0;        // 15
    float lineZAlphaMin = 0.0f;               // 16
    float lineZAlphaMax = 0.0f;               // 17
    float lineZAlphaMinValue = 0.0f;          // 18
    float lineZAlphaMaxValue = 0.0f;          // 19
    std::int32_t lineZAlphaEnable = 0;        // 20
    float lineBlur = 0.0f;                    // 21
    float lineBlurOffset = 0.0f;              // 22
    float outlineObjectThreshold = 0.0f;      // 23
    float outlineMaterialThreshold = 0.0f;    // 24
    float edgeDepthThreshold = 0.0f;          // 25
    float normalMin = 0.0f;                   // 26
    float normalMax = 0.0f;                   // 27
    float normalDepth = 0.0f;                 // 28
    // Detection switches; which of them a file may set depends on the element's type.
    std::int32_t outlineObject = 0;    // 29
    std::int32_t outlineMaterial = 0;  // 30
    std::int32_t edgeMaterial = 0;     // 31
    std::int32_t edgeDepth = 0;        // 32
    std::int32_t normal = 0;           // 33

    // Derived before drawing from the words above.
    float baseWidth = 0.0f;         // 34
    float axisU[2] = {0.0f, 0.0f};  // 35-36
    float axisV[2] = {0.0f, 0.0f};  // 37-38
    float outer2 = 0.0f;            // 39
    float mid2 = 0.0f;              // 40
    float inner2 = 0.0f;            // 41
    float slopeOuter = 0.0f;        // 42
    float slopeInner = 0.0f;        // 43
    float levelOuter = 0.0f;        // 44
    float levelInner = 0.0f;        // 45
    float fadeNear = 0.0f;          // 46
    float fadeSpan = 0.0f;          // 47

    // Element block "paint".
    std::int32_t paintColorType = 0;      // 48
    float paintColorR = 0.0f;             // 49
    float paintColorG = 0.0f;             // 50
    float paintColorB = 0.0f;             // 51
    float paintBlur = 0.0f;               // 52
    float paintBlurRnd = 0.0f;            // 53
    float paintBlurBound = 0.0f;          // 54
    float paintBlurBoundRnd = 0.0f;       // 55
    float paintMix = 0.0f;                // 56
    float paintMixRnd = 0.0f;             // 57
    float paintWind = 0.0f;               // 58
    float paintWindRnd = 0.0f;            // 59
    float paintWindAngle = 0.0f;          // 60
    std::int32_t paintRndSizeEnable = 0;  // 61
    float paintRndSize = 0.0f;            // 62
    float paintDry = 0.0f;                // 63
    float paintDryRnd = 0.0f;             // 64
};

inline constexpr std::size_t lineSettingsWords = 65;

static_assert(std::is_trivially_copyable_v<LineSettings> && std::is_standard_layout_v<LineSettings>);
static_assert(sizeof(float) == 4 && sizeof(LineSettings) == lineSettingsWords * 4);
static_assert(offsetof(LineSettings, lineColor) == 4 * 4);
static_assert(offsetof(LineSettings, lineZMin) == 13 * 4);
static_assert(offsetof(LineSettings, normalDepth) == 28 * 4);
static_assert(offsetof(LineSettings, outlineObject) == 29 * 4);
static_assert(offsetof(LineSettings, baseWidth) == 34 * 4);
static_assert(offsetof(LineSettings, fadeSpan) == 47 * 4);
static_assert(offsetof(LineSettings, paintColorType) == 48 * 4);
static_assert(offsetof(LineSettings, paintDryRnd) == 64 * 4);

}  // namespace vml
