#pragma once
// The open rollouts as data, and the user's acts on them by control id: what `vermil ui` prints
// and replays, and what the editor draws and sends.

#include "standalone/ui/MemoryDialogs.h"

#include <nlohmann/json.hpp>

#include <string>

namespace standalone {

struct RolloutEvent {
    enum Kind { set, select, press, pick } kind = set;
    int id = 0;
    // set: a number (spinner), text (edit field), on/off (check box) or r,g,b (colour swatch);
    // select: the index; pick: node names, comma-separated (a map button: one map or material
    // name, empty for none)
    std::string value;
    int dialog = 0;  // the template of the page the control is on; 0: the first open page with it
};

struct RolloutEventResult {
    bool ok = false;
    // Why it was not taken; or, when taken, the warnings the act logged to the core (a value the
    // intake held to its parameter's range or refused), joined by "; ".
    std::string message;
};

const char* controlKindName(ControlKind kind);

// Every open page: title, template, rolled-up state, and each control with its id, kind, label,
// value (range, step, items, animated where they apply), enabled state and place (dialog units).
nlohmann::ordered_json rolloutPages(MemoryDialogs& ui);

// Acts on the control as a user would.
RolloutEventResult applyRolloutEvent(MemoryDialogs& ui, const RolloutEvent& e);

}  // namespace standalone
