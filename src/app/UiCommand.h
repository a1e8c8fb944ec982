#pragma once
// `vermil ui SCENE (--renderer | --material NAME | --map NAME | --effect NAME) [--json] [--save]
// [--frame N] [--set ID=VALUE] [--select ID=INDEX] [--press ID] [--pick ID=NAME,...] [--previews DIR]`:
// opens a thing's
// rollouts in the in-memory dialog layer, acts on their controls in the order given, and prints
// every page: its title and template, and each control with its id, kind, label, value, range and
// whether it is enabled. With --save, the values the events changed are written back into the
// scene document, whose other text stays as it was.

#include "standalone/ui/RolloutState.h"

#include <string>
#include <vector>

namespace standalone {
class StandaloneCore;
}

namespace app {

using UiEvent = standalone::RolloutEvent;

struct UiOptions {
    std::string scenePath;
    bool renderer = false;  // the scene's renderer's rollouts
    std::string material;   // or a material's, by name
    std::string map;        // or a texture map's, by name
    std::string effect;     // or a render effect's, by name
    bool json = false;
    bool save = false;            // write changed values back into the scene document
    int frame = 0;                // the time the rollouts show and edit (animated values get keys there)
    std::string previews;         // a folder to write every preview picture to (TEMPLATE_ID.png); empty: none
    std::vector<UiEvent> events;  // in order
};

// "ID=VALUE" or "TEMPLATE:ID=VALUE" (for an id several pages use) into e's dialog, id and value;
// false for text of another form.
bool parseUiAssignment(const std::string& text, UiEvent& e);

// Exit code: 0, or 1 with a message on stderr (the scene, an event on a control that is not
// there or not enabled).
int runUi(const UiOptions& options, standalone::StandaloneCore& core);

}  // namespace app
