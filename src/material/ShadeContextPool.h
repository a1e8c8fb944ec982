#pragma once
// The wrapper shading contexts the shade entry borrows from: one small pool per shading thread,
// so borrowing takes no lock. A thread's pool grows to the depth of nested shade calls on it and
// keeps its contexts (and their light arrays) until the thread ends.

#include <cstddef>

namespace vml {

class VmlmatShadeContext;

// The calling thread's first free context, marked in use, or a new one; null when a new one
// cannot be allocated.
VmlmatShadeContext* acquireShadeContext();
// Gives a context back to the thread that acquired it; it stays there for the next acquire.
// Null is ignored.
void releaseShadeContext(VmlmatShadeContext* context);

// Contexts in the calling thread's pool (free or in use).
std::size_t shadeContextPoolSize();

}  // namespace vml
