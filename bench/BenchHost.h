#pragma once
// The standalone host the frame benchmarks render with: set up once, quiet (no message boxes).

#include "app/HostSetup.h"
#include "standalone/StandaloneCore.h"

inline standalone::StandaloneCore& benchHostCore()
{
    static standalone::StandaloneCore core;
    static bool ready = [] {
        core.setQuietMode(true);
        app::setUpHost(core);
        return true;
    }();
    (void)ready;
    return core;
}
