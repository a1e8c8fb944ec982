#pragma once
// How the frame's allocators tell their owner about memory, and ask it first: the renderer routes
// the calls to its low-memory warning, its outOfMemory flag and its fault injection. Arenas are
// filled by the shading threads and the line effect's buffers by the render workers, so the hooks
// may be called from several threads at once; they must not allocate from the calling arena.

namespace vml {

// Where a frame allocates.
enum class AllocationSite {
    arena,        // stroke records and their list, pixel samples
    canvas,       // the paint canvases
    lineBuffer,   // the line effect's work canvases, softened coverage and row buffers
    gbufferCopy,  // the multipass copy of the first pass's G-buffer
};

class ArenaHooks {
public:
    virtual ~ArenaHooks() = default;
    // Runs at every set-up and after every growth; may warn the user that memory runs low.
    virtual void lowMemoryCheck() {}
    // Every failed set-up or allocation, once per failure.
    virtual void outOfMemory() {}
    // Asked before an allocation at `site`; true makes it fail as if the system had refused it.
    virtual bool refuseAllocation(AllocationSite) { return false; }
};

// Throws std::bad_alloc when `hooks` (may be null) refuse an allocation at `site`.
void checkAllocation(ArenaHooks* hooks, AllocationSite site);

// Fault injection: the renderer asks this before each allocation of its frames (see
// vmlRenderer::setAllocationFaults), from any thread.
class AllocationFaults {
public:
    virtual ~AllocationFaults() = default;
    // True to make this allocation fail.
    virtual bool fail(AllocationSite site) = 0;
};

}  // namespace vml
