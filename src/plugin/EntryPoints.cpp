#include "plugin/EntryPoints.h"

#include "host/Interface.h"
#include "line/LineFxParamBlocks.h"
#include "material/vmlMaterialParamBlocks.h"
#include "paint/vmlBrushParamBlock.h"
#include "plugin/ClassDescriptors.h"
#include "renderer/RenderElementParamBlocks.h"
#include "renderer/vmlRendererParamBlocks.h"
#include "resources/StringIds.h"
#include "shell/Locks.h"
#include "shell/RandomTables.h"
#include "shell/StringLookup.h"

#include <array>
#include <iterator>

namespace vml {

namespace {

vmlMaterialClassDesc materialDesc;
vmlRendererClassDesc rendererDesc;
vmlBrushClassDesc brushDesc;
lineFxClassDesc lineFxDesc;
lineFxElementClassDesc lineFxElementDesc;
lineFxRenderElementClassDesc lineFxRenderElementDesc;
crayonStrokeRenderElementClassDesc crayonStrokeRenderElementDesc;

const std::array<ClassDesc2*, 7> registry = {
    &materialDesc,
    &rendererDesc,
    &brushDesc,
    &lineFxDesc,
    &lineFxElementDesc,
    &lineFxRenderElementDesc,
    &crayonStrokeRenderElementDesc,
};

bool initialised = false;

void attachParamBlockDescs()
{
    struct Attachment {
        ParamBlockDesc2& (*block)();
        ClassDesc2* owner;
    };
    // Material, renderer, brush, line effect, line element, line render element, stroke element.
    const Attachment attachments[] = {
        {vmlMaterialBaseBlock, &materialDesc},
        {vmlMaterialBrushBlock, &materialDesc},
        {vmlMaterialStrokeBlock, &materialDesc},
        {vmlMaterialPaintBlock, &materialDesc},
        {vmlMaterialVersionBlock, &materialDesc},
        {vmlRendererParamsBlock, &rendererDesc},
        {vmlRendererVersionBlock, &rendererDesc},
        {vmlRendererSummaryBlock, &rendererDesc},
        {vmlBrushParamBlock, &brushDesc},
        {lineFxManagerParamsBlock, &lineFxDesc},
        {lineFxManagerElementBlock, &lineFxDesc},
        {lineFxManagerPaintBlock, &lineFxDesc},
        {lineFxManagerVersionBlock, &lineFxDesc},
        {lineFxElementParamsBlock, &lineFxElementDesc},
        {lineFxElementPaintBlock, &lineFxElementDesc},
        {lineFxRenderElementBlock, &lineFxRenderElementDesc},
        {crayonStrokeRenderElementBlock, &crayonStrokeRenderElementDesc},
    };
    for (const Attachment& a : attachments)
        a.block().SetClassDesc(a.owner);
}

}  // namespace

bool libraryEntry(HINSTANCE module)
{
    setModuleHandle(module);
    return true;
}

void onShutdown(void*, NotifyInfo*) { deleteLocks(); }

bool registryInitialised() { return initialised; }

const char* libraryClassName(int i)
{
    // In registry order, as the code names the classes.
    static constexpr const char* names[] = {
        "vmlMaterial",
        "vmlRenderer",
        "vmlBrush",
        "LineFxManager",
        "LineFxElement",
        "LineFxRenderElement",
        "CrayonStrokeRenderElement",
    };
    return i >= 0 && i < static_cast<int>(std::size(names)) ? names[i] : nullptr;
}

}  // namespace vml

extern "C" {

int LibInitialize()
{
    vml::createLocks();
    RegisterNotification(vml::onShutdown, nullptr, NOTIFY_SYSTEM_SHUTDOWN);
    return 1;
}

const char* LibDescription() { return vml::getString(vml::strings::libraryDescription); }

int LibNumberClasses() { return static_cast<int>(vml::registry.size()); }

ClassDesc2* LibClassDesc(int i)
{
    if (!vml::initialised) {
        vml::attachParamBlockDescs();
        vml::fillRandomTables();
        vml::initialised = true;
    }
    if (i < 0 || i >= LibNumberClasses())
        return nullptr;
    return vml::registry[static_cast<std::size_t>(i)];
}

ULONG LibVersion() { return GetHostVersion(); }

int CanAutoDefer() { return 1; }

}  // extern "C"
