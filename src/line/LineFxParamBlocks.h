#pragma once
// The parameter blocks of the line effect (four) and of a line element (two). Parameter ids are
// stored in saved scenes and in line files: never renumber them.

#include "host/ParamBlockDesc2.h"
#include "paint/PaintBlockParams.h"

namespace vml {

ParamBlockDesc2& lineFxManagerParamsBlock();   // 0 "parameters": the effect's own settings
ParamBlockDesc2& lineFxManagerElementBlock();  // 1 "parameters": hosts the selected element's rollout
ParamBlockDesc2& lineFxManagerPaintBlock();    // 2 "paint": hosts the selected element's paint rollout
ParamBlockDesc2& lineFxManagerVersionBlock();  // 3 "version"

ParamBlockDesc2& lineFxElementParamsBlock();  // 0 "parameters", element reference 0
ParamBlockDesc2& lineFxElementPaintBlock();   // 1 "paint", element reference 1

// Manager block "parameters".
namespace lineFxParam {
enum : ParamID {
    lineOutRenderElement = 0,  // lines go to the line render element only, not into the image
    lineLoadAll = 1,           // setting a file name loads a lines file; never read as a value
    lineSaveAll = 2,           // setting a file name saves a lines file; never read as a value
};
}  // namespace lineFxParam

// Element block "parameters".
namespace lineParam {
enum : ParamID {
    elemID = 0,  // the element's LineElementType, -1 before one is assigned
    lineMatID = 1,
    lineBlend = 2,  // blendMethodTable position
    lineAlpha = 3,
    lineColor = 4,
    lineMapOpacity = 5,
    lineMapEnable = 6,
    lineMap = 7,  // element reference 2
    lineWidth = 8,
    lineDeform = 9,
    lineStretch = 10,
    lineAngle = 11,  // degrees
    outlineObject = 12,
    outlineMaterial = 13,
    edgeMaterial = 14,
    edgeDepth = 15,
    edgeDepthThreshold = 16,
    normal = 17,
    normalMin = 18,
    normalMax = 19,
    normalDepth = 20,
    lineZMin = 21,
    lineZMax = 22,
    lineZScaleEnable = 23,
    lineBlur = 24,
    lineBlurOffset = 25,
    lineName = 26,
    lineOn = 27,
    outlineObjectThreshold = 28,
    outlineMaterialThreshold = 29,
    lineZAlphaMin = 30,
    lineZAlphaMax = 31,
    lineZAlphaEnable = 32,
    lineLoad = 33,  // setting a file name loads an element file; never read as a value
    lineSave = 34,  // setting a file name saves an element file; never read as a value
    lineZAlphaMinValue = 35,
    lineZAlphaMaxValue = 36,
};
}  // namespace lineParam

// Element block "paint". Only the parameters LineSettings mirrors affect lines; the others keep
// the block in step with the material's paint block.
namespace linePaintParam = paintParam;

}  // namespace vml
