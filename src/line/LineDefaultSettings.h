#pragma once
// The settings a new line element receives, one record per process. The first element made
// fills it from its block defaults at time 0; later changes to it reach elements made or reset
// afterwards.

#include "line/LineSettings.h"

namespace vml {

LineSettings& lineDefaultSettings();

// Whether the first element has filled lineDefaultSettings yet.
bool lineDefaultSettingsFilled();
void markLineDefaultSettingsFilled();

}  // namespace vml
