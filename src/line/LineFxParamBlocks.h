#pragma once
// The parameter blocks of the line effect (four) and of a line element (two).

#include "host/ParamBlockDesc2.h"

namespace vml {

ParamBlockDesc2& lineFxManagerParamsBlock();   // 0 "parameters": the effect's own settings
ParamBlockDesc2& lineFxManagerElementBlock();  // 1 "parameters": hosts the selected element's rollout
ParamBlockDesc2& lineFxManagerPaintBlock();    // 2 "paint": hosts the selected element's paint rollout
ParamBlockDesc2& lineFxManagerVersionBlock();  // 3 "version"

ParamBlockDesc2& lineFxElementParamsBlock();  // 0 "parameters"
ParamBlockDesc2& lineFxElementPaintBlock();   // 1 "paint"

}  // namespace vml
