#include "material/ShadeContextPool.h"

#include "host/CriticalSection.h"
#include "material/VmlmatShadeContext.h"
#include "shell/Locks.h"

#include <memory>
#include <new>
#include <vector>

namespace vml {

namespace {

std::vector<std::unique_ptr<VmlmatShadeContext>>& pool()
{
    static std::vector<std::unique_ptr<VmlmatShadeContext>> contexts;
    return contexts;
}

}  // namespace

VmlmatShadeContext* acquireShadeContext()
{
    CriticalSectionGuard guard(shadeContextPoolLock());
    auto& contexts = pool();
    for (auto& c : contexts) {
        if (!c->inUse()) {
            c->setInUse(true);
            return c.get();
        }
    }
    try {
        contexts.push_back(std::make_unique<VmlmatShadeContext>());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    contexts.back()->setInUse(true);
    return contexts.back().get();
}

void releaseShadeContext(VmlmatShadeContext* context)
{
    if (!context)
        return;
    CriticalSectionGuard guard(shadeContextPoolLock());
    context->setInUse(false);
}

std::size_t shadeContextPoolSize()
{
    CriticalSectionGuard guard(shadeContextPoolLock());
    return pool().size();
}

}  // namespace vml
