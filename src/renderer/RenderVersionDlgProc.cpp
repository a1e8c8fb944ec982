#include "renderer/RenderVersionDlgProc.h"

#include "renderer/vmlRenderer.h"

#include <cstdio>

namespace vml {

RenderVersionDlgProc::~RenderVersionDlgProc() { close(); }

void RenderVersionDlgProc::open()
{
    char text[64];
    std::snprintf(text, sizeof text, "Version %d.%d%d", versionMajor, versionMinor, versionRevision);
    text_ = text;
    open_ = true;
    renderer_.setVersionRollout(this);
}

void RenderVersionDlgProc::close()
{
    if (!open_)
        return;
    open_ = false;
    if (renderer_.versionRollout() == this)
        renderer_.setVersionRollout(nullptr);
}

}  // namespace vml
