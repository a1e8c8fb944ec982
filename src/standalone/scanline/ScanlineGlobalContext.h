#pragma once
// The global context of a scanline frame: the projection and flags of RenderGlobalContext plus
// the frame's instances and the render-element manager of the render parameters.

#include "host/RenderGlobalContext.h"
#include "standalone/scanline/ScanlineInstance.h"

#include <vector>

namespace standalone::scanline {

class ScanlineGlobalContext : public RenderGlobalContext {
public:
    int NumRenderInstances() override { return static_cast<int>(instances.size()); }
    RenderInstance* GetRenderInstance(int i) override
    {
        return i >= 0 && i < NumRenderInstances() ? instances[static_cast<std::size_t>(i)] : nullptr;
    }
    IRenderElementMgr* GetRenderElementMgr() override { return elementMgr; }

    // Index i holds the instance with nodeID i; owned by the frame.
    std::vector<ScanlineInstance*> instances;
    IRenderElementMgr* elementMgr = nullptr;
};

}  // namespace standalone::scanline
