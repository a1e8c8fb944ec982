#pragma once
// How an arena tells its owner about memory: the renderer routes both calls to its low-memory
// warning and its outOfMemory flag. Arenas are used under the shading locks, so the hooks may be
// called from a shading thread; they must not allocate from the calling arena.

namespace vml {

class ArenaHooks {
public:
    virtual ~ArenaHooks() = default;
    // Runs at every set-up and after every growth; may warn the user that memory runs low.
    virtual void lowMemoryCheck() {}
    // Every failed set-up or allocation, once per failure.
    virtual void outOfMemory() {}
};

}  // namespace vml
