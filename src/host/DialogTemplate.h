#pragma once
// Dialog templates as data: the controls of one rollout page with their ids, kinds, texts and
// places. The host draws a page from its template; dialog procedures address controls by id.

#include <string>
#include <vector>

enum class ControlKind {
    staticText,  // a label, or a read-only value field
    editText,    // a text field; a spinner's edit field is part of the spinner
    spinner,     // a number: edit field and arrows, with limits and a step
    checkBox,
    radioButton,  // one of a group of buttons with consecutive ids
    comboBox,     // a drop-down list
    listBox,
    button,
    colorSwatch,
    mapButton,   // picks a texture map
    nodeButton,  // picks a scene node
    tab,         // a row of tabs
    group,       // a labelled frame around other controls
    image,       // a preview picture the page's procedure paints
};

struct DialogControl {
    int id = 0;  // 0 for decoration no code addresses (group frames, fixed labels)
    ControlKind kind = ControlKind::staticText;
    int textId = 0;    // string-table id of the text; 0: `text` as it stands
    std::string text;  // literal text (numbers, units), used when textId is 0
    // Place in dialog units from the page's top left; 0 width or height: laid out by the host.
    int x = 0, y = 0, width = 0, height = 0;
    // A spinner's edit field: one control with the spinner here, found by either id.
    int buddy = 0;
};

struct DialogTemplate {
    int id = 0;
    int width = 0, height = 0;  // dialog units
    std::vector<DialogControl> controls;

    // The control of that id, or nullptr (ids of 0 are never found).
    const DialogControl* find(int controlId) const
    {
        if (controlId == 0)
            return nullptr;
        for (const DialogControl& c : controls)
            if (c.id == controlId || (c.buddy == controlId && c.kind == ControlKind::spinner))
                return &c;
        return nullptr;
    }
};
