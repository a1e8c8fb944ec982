// The renderer's rollouts on the host's dialog layer.

#include "host/ParamMap2.h"
#include "host/Rollout.h"
#include "renderer/RenderBaseDlgProc.h"
#include "renderer/RenderParamDlgProc.h"
#include "renderer/RenderVersionDlgProc.h"
#include "renderer/vmlRenderer.h"
#include "resources/DialogTemplates.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <memory>
#include <vector>

namespace vml {

namespace {

// The rollouts' category in the host's render dialogs.
constexpr int rolloutCategory = 4000;

// Owns the pages and their procedures; deleting it closes the pages first.
class RendererDialog final : public RendParamDlg {
public:
    ~RendererDialog() override
    {
        for (IParamMap2* map : maps_)
            DestroyParamMap2(map);
    }
    bool add(IParamBlock2* block, int templateId, int titleId, DWORD flags,
             std::unique_ptr<ParamMap2UserDlgProc> proc)
    {
        const DialogTemplate* dialog = resources::findDialogTemplate(templateId, textLanguage());
        if (!block || !dialog)
            return false;
        const char* title = getString(titleId);
        procs_.push_back(std::move(proc));
        IParamMap2* map =
            CreateParamMap2(block, *dialog, title ? title : "", flags, rolloutCategory, procs_.back().get());
        if (!map)
            return false;
        maps_.push_back(map);
        return true;
    }

private:
    std::vector<std::unique_ptr<ParamMap2UserDlgProc>> procs_;  // outlive the maps
    std::vector<IParamMap2*> maps_;
};

}  // namespace

RendParamDlg* vmlRenderer::CreateParamDialog(IRendParams*, BOOL prog)
{
    auto dialog = std::make_unique<RendererDialog>();
    const bool made = prog
                          ? dialog->add(pblocks_[summaryRef], 112, strings::rendererParameters, 0,
                                        std::make_unique<RenderParamDlgProc>(*this))
                          : dialog->add(pblocks_[paramsRef], 108, strings::rendererSettings, 0,
                                        std::make_unique<RenderBaseDlgProc>(*this)) &&
                                dialog->add(pblocks_[versionRef], 106, strings::rendererVersion,
                                            APPENDROLL_CLOSED, std::make_unique<RenderVersionDlgProc>(*this));
    return made ? dialog.release() : nullptr;
}

}  // namespace vml
