#include "plugin/ClassDescriptors.h"

#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "material/vmlMaterial.h"
#include "paint/vmlBrush.h"
#include "renderer/CrayonStrokeRenderElement.h"
#include "renderer/LineFxRenderElement.h"
#include "renderer/vmlRenderer.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <new>

namespace vml {

namespace {

constexpr ClassRow materialRow{
    {vmlClassIdA, 0x03200729}, MATERIAL_CLASS_ID, true, strings::materialClass, "Vermil+ material"};
constexpr ClassRow rendererRow{
    {vmlClassIdA, 0x0320071D}, RENDERER_CLASS_ID, true, strings::rendererClass, "Vermil+ renderer"};
constexpr ClassRow brushRow{
    {vmlClassIdA, 0x0320010F}, TEXMAP_CLASS_ID, false, strings::brushClass, "Vermil+ brush"};
constexpr ClassRow lineFxRow{
    {vmlClassIdA, 0x03200206}, RENDER_EFFECT_CLASS_ID, true, strings::lineEffectClass, "Vermil+ Line"};
constexpr ClassRow lineFxElementRow{{vmlClassIdA, 0x03200207},
                                    RENDER_EFFECT_CLASS_ID,
                                    false,
                                    strings::lineElementClass,
                                    "Vermil+ Line Element"};
constexpr ClassRow lineFxRenderElementRow{{vmlClassIdA, 0x03200205},
                                          RENDER_ELEMENT_CLASS_ID,
                                          true,
                                          strings::lineRenderElementClass,
                                          "Vermil+ Line Render Element"};
constexpr ClassRow crayonStrokeRenderElementRow{{vmlClassIdA, 0x03200704},
                                                RENDER_ELEMENT_CLASS_ID,
                                                false,
                                                strings::crayonStrokeRenderElementClass,
                                                "Crayon+ Stroke Render Element"};

}  // namespace

const char* vmlClassDescBase::ClassName()
{
    const char* text = getString(row_.nameStringId);
    name_ = text ? text : "";
    return name_.c_str();
}

HINSTANCE vmlClassDescBase::HInstance() { return moduleHandle(); }

vmlMaterialClassDesc::vmlMaterialClassDesc() : vmlClassDescBase(materialRow) {}
// A material about to be loaded skips its defaults: the scene supplies its settings.
ReferenceTarget* vmlMaterialClassDesc::Create(BOOL loading)
{
    try {
        return new vmlMaterial(loading != FALSE);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

vmlRendererClassDesc::vmlRendererClassDesc() : vmlClassDescBase(rendererRow) {}
// Always a fresh renderer with its own inner renderer, also for a scene about to be loaded.
ReferenceTarget* vmlRendererClassDesc::Create(BOOL)
{
    try {
        return new vmlRenderer(true);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

vmlBrushClassDesc::vmlBrushClassDesc() : vmlClassDescBase(brushRow) {}
// A brush about to be loaded starts from its defaults too: the scene then restores its block.
ReferenceTarget* vmlBrushClassDesc::Create(BOOL)
{
    try {
        return new vmlBrush();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

lineFxClassDesc::lineFxClassDesc() : vmlClassDescBase(lineFxRow) {}
// An effect about to be loaded starts empty too: the scene then restores its blocks and elements.
ReferenceTarget* lineFxClassDesc::Create(BOOL)
{
    try {
        return new LineFxManager();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

lineFxElementClassDesc::lineFxElementClassDesc() : vmlClassDescBase(lineFxElementRow) {}
// An element about to be loaded starts from its defaults too: the scene then restores its blocks.
ReferenceTarget* lineFxElementClassDesc::Create(BOOL)
{
    try {
        return new LineFxElement();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

lineFxRenderElementClassDesc::lineFxRenderElementClassDesc() : vmlClassDescBase(lineFxRenderElementRow) {}
ReferenceTarget* lineFxRenderElementClassDesc::Create(BOOL)
{
    try {
        return new LineFxRenderElement();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

crayonStrokeRenderElementClassDesc::crayonStrokeRenderElementClassDesc()
    : vmlClassDescBase(crayonStrokeRenderElementRow)
{}
// Built as a line render element with this class's identity.
ReferenceTarget* crayonStrokeRenderElementClassDesc::Create(BOOL)
{
    try {
        return new CrayonStrokeRenderElement();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace vml
