#pragma once
// The material's five parameter blocks. Block id = the material's reference index. Parameter ids
// are stored in saved scenes: never renumber them.

#include "host/ParamBlockDesc2.h"
#include "paint/PaintBlockParams.h"

namespace vml {

enum vmlMaterialBlockId : BlockID {
    vmlMaterialBaseBlockId = 0,
    vmlMaterialBrushBlockId = 1,
    vmlMaterialStrokeBlockId = 2,
    vmlMaterialPaintBlockId = 3,
    vmlMaterialVersionBlockId = 4,
};

// Base block "parameters". The maps and the base material are the material's own references.
namespace baseParam {
enum : ParamID {
    baseMaterial = 0,  // reference 5
    shading = 1,
    hiColor = 2,
    hiBlend = 3,  // blendMethodTable position
    hiLevel = 4,
    hiGross = 5,
    hiMapOpacity = 6,
    hiMapEnable = 7,
    hiMap = 8,  // reference 7
    hiAniso = 9,
    hiOrient = 10,
    hiLevelMap = 11,  // reference 8
    hiGrossMap = 12,  // reference 9
    bumpEnable = 13,
    bumpAmount = 14,
    bumpMap = 15,  // reference 10
    reflecEnable = 16,
    reflecAmount = 17,
    reflecMap = 18,  // reference 11
    baseMatColorEnable = 19,
    baseMatColor = 20,
    baseMatMapOpacity = 21,
    baseMatMap = 22,  // reference 6
    baseMatMapEnable = 23,
    baseMatBlend = 24,  // blendMethodTable position
    baseMatAlpha = 25,
    baseHiddenFace = 26,
    baseRndAuto = 27,
    baseRndInterval = 28,
    baseRndMoveDetect = 29,
    hiSharp = 30,
    brushOfsEnable = 31,
    brushOfs = 32,
    brushOfsRnd = 33,
    brushNoSideDrop = 34,
};
}  // namespace baseParam

// Brush block "brush".
namespace brushParam {
enum : ParamID {
    brushMap = 0,  // reference 12
    brushOpacity = 1,
    brushSize = 2,
    brushSizeRnd = 3,
    brushSizeGeom = 4,
    brushAngle = 5,
    brushAngleRnd = 6,
    brushAngleFit = 7,
    brushAngleFitOfs = 8,
    brushDensity = 9,
    brushRough = 10,
    brushGeometry = 11,
    brushFine = 12,
    brushFineRnd = 13,
    brushFadeSize = 14,
    brushFadeSizeThre = 15,
    brushFadeSizeRnd = 16,
    brushFadeAlpha = 17,
    brushFadeAlphaThre = 18,
    brushFadeAlphaRnd = 19,
    brushFadeSizeLinear = 20,
    brushFadeAlphaLinear = 21,
    brushZScaleEnable = 22,
    brushZScaleStart = 23,
    brushZScaleEnd = 24,
    brushOfsScrX = 25,
    brushOfsScrXRnd = 26,
    brushOfsScrY = 27,
    brushOfsScrYRnd = 28,
    brushOfsNorm = 29,
    brushOfsNormRnd = 30,
};
}  // namespace brushParam

// Stroke block "stroke".
namespace strokeParam {
enum : ParamID {
    strokeLength = 0,
    strokeLengthRnd = 1,
    strokeLengthGeom = 2,
    strokeAngle = 3,
    strokeAngleRnd = 4,
    strokeAngleFit = 5,
    strokeAngleFitOfs = 6,
    strokeOffset = 7,
    strokeOffsetRnd = 8,
    strokeDeformAmp = 9,
    strokeDeformAmpRnd = 10,
    strokeDeformFreq = 11,
    strokeDeformFreqRnd = 12,
    strokeDeformPhase = 13,
    strokeDeformPhaseRnd = 14,
    strokeRough = 15,
    strokeRoughRnd = 16,
    strokeRake = 17,
    strokeDampSizeSt = 18,
    strokeDampSizeStPos = 19,
    strokeDampSizeEd = 20,
    strokeDampSizeEdPos = 21,
    strokeDampSizeRnd = 22,
    strokeDampAlphaSt = 23,
    strokeDampAlphaStPos = 24,
    strokeDampAlphaEd = 25,
    strokeDampAlphaEdPos = 26,
    strokeDampAlphaRnd = 27,
    strokeSpace = 28,
    strokeSpaceRnd = 29,
};
}  // namespace strokeParam

// Paint block "paint": the shared paint parameters of paint/PaintBlockParams.h (ids 18 and 19 are
// not used).

ParamBlockDesc2& vmlMaterialBaseBlock();
ParamBlockDesc2& vmlMaterialBrushBlock();
ParamBlockDesc2& vmlMaterialStrokeBlock();
ParamBlockDesc2& vmlMaterialPaintBlock();
ParamBlockDesc2& vmlMaterialVersionBlock();

}  // namespace vml
