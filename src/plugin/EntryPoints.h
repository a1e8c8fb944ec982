#pragma once
// The library's entry points, found by the host by name, and the per-library load hook.

#include "host/ClassDesc2.h"
#include "host/Notify.h"

extern "C" {
int LibInitialize();
const char* LibDescription();
int LibNumberClasses();
// The descriptor of registry row i (0..6), or nullptr. The first call, whatever i, initialises
// the registry.
ClassDesc2* LibClassDesc(int i);
ULONG LibVersion();
int CanAutoDefer();
}

namespace vml {

// What the operating system's load hook does: records the module handle. Reports success.
bool libraryEntry(HINSTANCE module);
// Registered by LibInitialize for the host's shutdown notification: deletes the locks.
void onShutdown(void* param, NotifyInfo* info);

bool registryInitialised();

// The name scene documents give registry row i (0..6), or nullptr.
const char* libraryClassName(int i);

}  // namespace vml
