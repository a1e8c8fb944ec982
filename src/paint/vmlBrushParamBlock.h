#pragma once
// The brush texture map's parameter block. Parameter ids are stored in saved scenes: never
// renumber them.

#include "host/ParamBlockDesc2.h"

namespace vml {

inline constexpr BlockID vmlBrushBlockId = 0;

namespace brushMapParam {
enum : ParamID {
    brushMapMapOpacity = 0,
    brushMapMapEnable = 1,
    brushMapMap = 2,   // the sub-map, held by the block
    brushMapType = 3,  // 0 single tip, 1 multiple bristles
    brushMapStretch = 4,
    brushMapStretchRnd = 5,
    brushMapAngle = 6,  // degrees
    brushMapAngleRnd = 7,
    brushMapGroove = 8,
    brushMapGrooveNUM = 9,
    brushMapSize = 10,
    brushMapSizeRnd = 11,
    brushMapAnti = 12,
    brushMapHSpace = 13,
    brushMapHSpaceRand = 14,
    brushMapVSpace = 15,
    brushMapVSpaceRand = 16,
    brushMapDampStart = 17,
    brushMapDampEnd = 18,
    brushCacheDisable = 19,
    brushRndNum = 20,
};
}  // namespace brushMapParam

ParamBlockDesc2& vmlBrushParamBlock();  // 0 "parameters", automatic rollout: the brush editor

}  // namespace vml
