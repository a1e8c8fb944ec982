#include "renderer/RendererMessages.h"

#include "host/Interface.h"
#include "shell/StringLookup.h"

#include <string>

namespace vml {

void showRendererMessage(int id)
{
    Interface* core = GetCOREInterface();
    if (!core)
        return;
    // Copied at once: the lookup's buffer is shared.
    const char* found = getString(id);
    const std::string text = found ? found : "";
    MessageBox(core->GetMainWindow(), text.c_str(), rendererCaption, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace vml
