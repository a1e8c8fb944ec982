// The registry of the dialog templates; each subsystem's pages are in a file of their own.

#include "resources/DialogTemplates.h"

#include "resources/DialogTemplateBuilder.h"

namespace vml::resources {

namespace {

DialogTemplates inLanguage(Language language)
{
    DialogTemplates all;
    addRendererTemplates(all);
    addMaterialTemplates(all);
    addLineTemplates(all);
    for (auto& [id, dialog] : all)
        for (DialogControl& c : dialog.controls)
            if (c.textId != 0) {
                const char* text = lookupString(c.textId, language);
                c.text = text ? text : "";
            }
    return all;
}

}  // namespace

const DialogTemplate* findDialogTemplate(int id, Language language)
{
    static const DialogTemplates japanese = inLanguage(Language::Japanese);
    static const DialogTemplates english = inLanguage(Language::English);
    const DialogTemplates& templates = language == Language::Japanese ? japanese : english;
    auto it = templates.find(id);
    return it == templates.end() ? nullptr : &it->second;
}

}  // namespace vml::resources
