#include "line/LineDefaultSettings.h"

namespace vml {

namespace {
LineSettings defaults;
bool filled = false;
}  // namespace

LineSettings& lineDefaultSettings() { return defaults; }

bool lineDefaultSettingsFilled() { return filled; }

void markLineDefaultSettingsFilled() { filled = true; }

}  // namespace vml
