#include "renderer/PainterlyMaterialProbe.h"

#include <atomic>

namespace vml {

namespace {

const PainterlyMaterialProbe defaultProbe;
std::atomic<const PainterlyMaterialProbe*> installedProbe{nullptr};

}  // namespace

const PainterlyMaterialProbe& installedPainterlyMaterialProbe()
{
    const PainterlyMaterialProbe* probe = installedProbe.load(std::memory_order_acquire);
    return probe ? *probe : defaultProbe;
}

void installPainterlyMaterialProbe(const PainterlyMaterialProbe* probe)
{
    installedProbe.store(probe, std::memory_order_release);
}

}  // namespace vml
