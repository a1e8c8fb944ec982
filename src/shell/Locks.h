#pragma once
// The three process-wide locks of the shading path. They may be used between libraryInitialise
// and the host's shutdown notification; they are never nested. A use outside that span is a host
// error: debug builds assert, release builds keep serialising on the same locks without
// bringing them back (locksExist stays false).

#include "host/CriticalSection.h"

namespace vml {

// Guards the material's pool of shading contexts.
CriticalSection& shadeContextPoolLock();
// Guards the renderer's stroke arena and list while a material files a stroke.
CriticalSection& strokeListLock();
// Guards the renderer's sample grid while a material inserts a pixel sample.
CriticalSection& pixelSampleLock();

void createLocks();
// The shutdown notification's: the locks may no longer be used.
void deleteLocks();
bool locksExist();

}  // namespace vml
