#pragma once
// The plug-in library loaded into a test's host as the program loads it: its entry points called
// and its classes registered under their scene-document names.

#include "plugin/EntryPoints.h"
#include "standalone/StandaloneCore.h"

namespace test_support {

inline void loadPluginClasses(standalone::StandaloneCore& core)
{
    static int moduleToken = 0;
    vml::libraryEntry(&moduleToken);
    LibInitialize();
    for (int i = 0; i < LibNumberClasses() && vml::libraryClassName(i); ++i)
        core.registerClass(LibClassDesc(i), vml::libraryClassName(i));
}

}  // namespace test_support
