#include "host/Interface.h"

#include <atomic>

namespace {
std::atomic<Interface*> coreInterface{nullptr};
}

Interface* GetCOREInterface() { return coreInterface.load(); }
void SetCOREInterface(Interface* core) { coreInterface.store(core); }

// Release in the high word, interface revision in the low word.
DWORD GetHostVersion() { return (1u << 16) | 0u; }

int MessageBox(HWND parent, const char* text, const char* caption, UINT type)
{
    Interface* core = GetCOREInterface();
    return core ? core->ShowMessageBox(parent, text ? text : "", caption ? caption : "", type) : 0;
}

void LogWarning(const char* text)
{
    if (Interface* core = GetCOREInterface())
        core->LogWarning(text ? text : "");
}
