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
    for (int i = 0; i < LibNumberClasses() && vml::libraryClassName(i); ++i)
        core.registerClass(LibClassDesc(i), vml::libraryClassName(i));
    registerLineElementList();
    registerRendererPassList();
}

}  // namespace app
