#pragma once
// The 16-bit seed of a stroke: from its grid cell, an animation step and optionally the
// object's stillness, through the two random tables.

#include <cstdint>

namespace vml {

class NodeRecords;

// Index of a cell of the screen-space stroke grid.
struct StrokeCell {
    std::int32_t x = 0, y = 0;
};

// interval: baseRndInterval with baseRndAuto on, else 0; node: the node id when baseRndAuto and
// baseRndMoveDetect are on, else -1. The step counts whole intervals since the node's stillness
// began (or since frame 0); it is 0 in the material editor or for an interval below 1.
// The random tables must be filled.
std::uint16_t strokeSeed(StrokeCell cell, int interval, int node, float frameNumber, bool inMaterialEditor,
                         const NodeRecords& nodes);

}  // namespace vml
