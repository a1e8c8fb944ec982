#pragma once
// The process-wide pool of wrapper shading contexts the shade entry borrows from. It grows to
// the largest number of samples shaded at once and keeps its contexts (and their light arrays)
// for the life of the library. Acquire and release take shadeContextPoolLock.

#include <cstddef>

namespace vml {

class VmlmatShadeContext;

// The first free context, marked in use, or a new one; null when a new one cannot be allocated.
VmlmatShadeContext* acquireShadeContext();
// Gives a context back; it stays in the pool for the next acquire. Null is ignored.
void releaseShadeContext(VmlmatShadeContext* context);

// Contexts in the pool (free or in use).
std::size_t shadeContextPoolSize();

}  // namespace vml
