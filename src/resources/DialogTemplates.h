#pragma once
// The system's dialog templates, by template id: every control's id, kind, text and place. The
// rollouts draw their pages from them (DialogService).

#include "host/DialogTemplate.h"
#include "resources/StringTable.h"

namespace vml::resources {

// The template of that id with its texts in `language` (a text the table lacks is empty), or
// nullptr.
const DialogTemplate* findDialogTemplate(int id, Language language);

}  // namespace vml::resources
