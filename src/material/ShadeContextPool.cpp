#include "material/ShadeContextPool.h"

#include "material/VmlmatShadeContext.h"

#include <memory>
#include <new>
#include <vector>

namespace vml {

namespace {

std::vector<std::unique_ptr<VmlmatShadeContext>>& pool()
{
    thread_local std::vector<std::unique_ptr<VmlmatShadeContext>> contexts;
    return contexts;
}

}  // namespace

VmlmatShadeContext* acquireShadeContext()
{
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
    if (context)
        context->setInUse(false);
}

std::size_t shadeContextPoolSize() { return pool().size(); }

}  // namespace vml
