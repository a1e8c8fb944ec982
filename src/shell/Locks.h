#pragma once
// The three process-wide locks of the shading path. They exist between libraryInitialise and
// the host's shutdown notification; they are never nested.

#include "host/CriticalSection.h"

namespace vml {

// Guards the material's pool of shading contexts.
CriticalSection& shadeContextPoolLock();
// Guards the renderer's stroke arena and list while a material files a stroke.
CriticalSection& strokeListLock();
// Guards the renderer's sample grid while a material inserts a pixel sample.
CriticalSection& pixelSampleLock();

void createLocks();
void deleteLocks();
bool locksExist();

}  // namespace vml
