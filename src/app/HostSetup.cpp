#include "app/HostSetup.h"

#include "app/LineElementList.h"
#include "app/RendererPassList.h"
#include "plugin/EntryPoints.h"
#include "standalone/HostClasses.h"
#include "standalone/HostDirectories.h"
#include "standalone/ScanlineRenderer.h"
#include "standalone/StandaloneCore.h"

#include <fmt/core.h>

namespace app {

namespace {

// Scene documents name the plug-in's classes as the code does, in registry order.
constexpr const char* pluginClassNames[] = {
    "vmlMaterial",
    "vmlRenderer",
    "vmlBrush",
    "LineFxManager",
    "LineFxElement",
    "LineFxRenderElement",
    "CrayonStrokeRenderElement",
};

}  // namespace

void printWarning(const std::string& text) { fmt::print(stderr, "vermil: warning: {}\n", text); }

void setUpHost(standalone::StandaloneCore& core)
{
    SetCOREInterface(&core);
    core.setWarningHandler(printWarning);
    // The settings files' directories, from the environment (see docs/host.md).
    standalone::setHostDirectories(core, standalone::hostDirectoriesFromEnvironment());
    standalone::registerHostClasses(core);
    standalone::installScanlineRenderer(core);

    // What the host does when it loads the plug-in library.
    static int moduleToken = 0;
    vml::libraryEntry(&moduleToken);
    LibInitialize();
    int n = LibNumberClasses();
    for (int i = 0; i < n && i < static_cast<int>(std::size(pluginClassNames)); ++i)
        core.registerClass(LibClassDesc(i), pluginClassNames[i]);
    registerLineElementList();
    registerRendererPassList();
}

}  // namespace app
