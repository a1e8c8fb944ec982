#pragma once
// Read-only state of a frame that every shading thread shares.

#include "host/Color.h"
#include "host/MaxTypes.h"
#include "standalone/scanline/ScanlineInstance.h"
#include "standalone/scanline/ScanlineView.h"
#include "standalone/scanline/ScreenPolygon.h"

#include <vector>

class LightDesc;
class Mtl;
class RenderGlobalContext;
class Texmap;

namespace standalone::scanline {

class FrameMotion;

struct ShadingFrame {
    const ScanlineView* view = nullptr;
    RenderGlobalContext* globalContext = nullptr;
    const std::vector<ScreenPolygon>* polygons = nullptr;
    const std::vector<ScanlineInstance*>* instances = nullptr;  // by nodeID
    const std::vector<LightDesc*>* lights = nullptr;
    const FrameMotion* motion = nullptr;  // velocity of the front fragments; none: zero
    Mtl* defaultMtl = nullptr;            // for instances whose material was taken away
    Color ambient;
    Color background;
    float backgroundAlpha = 1.0f;
    Texmap* envMap = nullptr;
    bool antialias = true;
    bool inMtlEdit = false;
    TimeValue time = 0;
};

}  // namespace standalone::scanline
