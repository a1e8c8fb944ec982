#pragma once
// Helpers the template files share: a page 108 dialog units wide, labels left of their
// controls, rows 12 units apart. Texts are string-table ids, so a page speaks the language of the
// table it is drawn in.

#include "host/DialogTemplate.h"

#include <initializer_list>
#include <map>

namespace vml::resources {

using DialogTemplates = std::map<int, DialogTemplate>;

// A control whose text is string `textId` (0: `text` as it stands, for texts that are no words,
// such as numbers).
inline DialogControl control(int id, ControlKind kind, int textId, int x, int y, int w, int h, int buddy = 0,
                             const char* text = "")
{
    DialogControl c;
    c.id = id;
    c.kind = kind;
    c.textId = textId;
    c.text = text;
    c.x = x, c.y = y, c.width = w, c.height = h;
    c.buddy = buddy;
    return c;
}

// Fixed texts no code addresses.
inline DialogControl label(int textId, int x, int y, int w = 50)
{
    return control(0, ControlKind::staticText, textId, x, y, w, 8);
}
inline DialogControl group(int textId, int y, int h)
{
    return control(0, ControlKind::group, textId, 2, y, 104, h);
}
inline DialogControl check(int id, int textId, int x, int y, int w = 80)
{
    return control(id, ControlKind::checkBox, textId, x, y, w, 10);
}
// A spinner with its edit field: `edit` is the field's id, `spin` the arrows'.
inline DialogControl spinner(int edit, int spin, int x, int y, int w = 36)
{
    return control(spin, ControlKind::spinner, 0, x, y, w, 10, edit);
}

inline DialogTemplate page(int id, int height, std::initializer_list<DialogControl> controls)
{
    DialogTemplate t;
    t.id = id;
    t.width = 108;
    t.height = height;
    t.controls = controls;
    return t;
}

// Each subsystem's templates (one file each).
void addRendererTemplates(DialogTemplates& all);
void addMaterialTemplates(DialogTemplates& all);
void addLineTemplates(DialogTemplates& all);

}  // namespace vml::resources
