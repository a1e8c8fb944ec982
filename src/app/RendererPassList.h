#pragma once
// The painterly renderer's "passes" key: its multipass node lists in a readable form,
// {"1": ["mountains", "sky*"], "2": ["hero"]} (tab names to object names or glob patterns),
// beside the raw multipassNode and multipassID tables. Giving passes turns multipass on.

#include <string>
#include <vector>

class INode;
class Renderer;

namespace app {

void registerRendererPassList();

// Per pass 0..9, the names of the objects the painterly renderer paints in it when multipass is
// on; empty when the renderer is not the painterly one or multipass is off.
std::vector<std::vector<std::string>> passContents(Renderer* renderer, const std::vector<INode*>& nodes);

}  // namespace app
