#include "renderer/ArenaHooks.h"

#include <new>

namespace vml {

void checkAllocation(ArenaHooks* hooks, AllocationSite site)
{
    if (hooks && hooks->refuseAllocation(site))
        throw std::bad_alloc();
}

}  // namespace vml
