#include "app/RendererPassList.h"

#include "host/INode.h"
#include "host/IParamBlock2.h"
#include "renderer/MultipassController.h"
#include "renderer/MultipassNodeTable.h"
#include "renderer/vmlRenderer.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "standalone/Scene.h"
#include "standalone/document/PartLists.h"
#include "standalone/document/ValueReaders.h"

#include <fmt/format.h>

#include <algorithm>

namespace app {

namespace {

using namespace standalone::document;

// Shell-style matching: * any run of characters, ? one character.
bool globMatch(std::string_view pattern, std::string_view name)
{
    std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Every node of the scene, depth first from the roots.
void collect(INode* node, std::vector<INode*>& out)
{
    out.push_back(node);
    for (int i = 0; i < node->NumberOfChildren(); ++i)
        collect(node->GetChildNode(i), out);
}

void readPasses(ReferenceTarget& object, const Json& v, const JsonLocation& at,
                const ParameterContext& context)
{
    auto* renderer = dynamic_cast<vml::vmlRenderer*>(&object);
    IParamBlock2* block = renderer ? renderer->paramBlock() : nullptr;
    if (!block)
        at.fail("this renderer has no pass lists");
    if (!v.is_object())
        at.fail("expected {\"1\": [object names or patterns], ..., \"9\": [...]}, got " + describe(v));
    std::vector<INode*> all;
    if (context.sceneRoot)
        collect(context.sceneRoot, all);
    for (auto it = v.begin(); it != v.end(); ++it) {
        const JsonLocation tabAt = at / it.key();
        const std::string& tab = it.key();
        if (tab.size() != 1 || tab[0] < '1' || tab[0] > '9')
            tabAt.fail(fmt::format("\"{}\" is not a pass: the passes are \"1\" to \"9\"", tab));
        const int passId = tab[0] - '1';
        if (!it.value().is_array())
            tabAt.fail("expected a list of object names or patterns, got " + describe(it.value()));
        std::vector<INode*> chosen;
        for (std::size_t i = 0; i < it.value().size(); ++i) {
            const JsonLocation nameAt = tabAt / i;
            const std::string pattern = readString(it.value()[i], nameAt);
            const bool glob = pattern.find_first_of("*?") != std::string::npos;
            bool any = false;
            for (INode* node : all) {
                if (!node->GetParentNode() || !globMatch(pattern, node->GetName()))
                    continue;
                if (node->IsGroupMember()) {
                    // A group paints as a whole: its head is listed, not its members.
                    if (!glob)
                        nameAt.fail(fmt::format("\"{}\" is inside a group; list the group instead", pattern));
                    continue;
                }
                any = true;
                if (std::find(chosen.begin(), chosen.end(), node) == chosen.end())
                    chosen.push_back(node);
            }
            if (!any)
                nameAt.fail(glob ? fmt::format("no object of the scene matches \"{}\"", pattern)
                                 : fmt::format("the scene has no object named \"{}\"", pattern));
        }
        for (INode* node : chosen)
            if (vml::isMultipassListed(*block, node))
                tabAt.fail(fmt::format("\"{}\" is already in another pass", node->GetName()));
        vml::appendMultipassNodes(*block, chosen, passId);
    }
    block->SetValue(vml::rendererMultipassEnable, 0, 1);
}

}  // namespace

void registerRendererPassList() { registerPartList("vmlRenderer", "passes", readPasses); }

std::vector<std::vector<std::string>> passContents(Renderer* renderer, const std::vector<INode*>& nodes)
{
    auto* painterly = dynamic_cast<vml::vmlRenderer*>(renderer);
    IParamBlock2* block = painterly ? painterly->paramBlock() : nullptr;
    if (!block || !block->GetInt(vml::rendererMultipassEnable))
        return {};
    vml::MultipassController passes;
    passes.setUp(true, block);
    std::vector<std::vector<std::string>> contents(vml::MultipassController::passIdCount + 1);
    for (INode* node : nodes)
        contents[std::size_t(passes.passIdOf(node) + 1)].push_back(node->GetName());
    return contents;
}

}  // namespace app
