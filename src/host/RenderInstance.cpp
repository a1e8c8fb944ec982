#include "host/RenderInstance.h"

#include <cmath>

float RenderInstance::boundingRadius() const { return std::sqrt(radsq); }
