#include "renderer/StrokeSeed.h"

#include "renderer/NodeRecords.h"
#include "shell/RandomTables.h"

#include <cmath>
#include <cstdlib>

namespace vml {

namespace {

std::uint32_t cellIndex(std::int32_t c)
{
    // Negative cells wrap by one table length; what is left of a far cell is folded by the mask.
    const std::int64_t wrapped = c < 0 ? std::int64_t{c} + 65536 : std::int64_t{c};
    return static_cast<std::uint32_t>(std::llabs(wrapped) & 0xFFFF);
}

}  // namespace

std::uint16_t strokeSeed(StrokeCell cell, int interval, int node, float frameNumber, bool inMaterialEditor,
                         const NodeRecords& nodes)
{
    std::uint32_t step = 0;
    if (!inMaterialEditor && interval >= 1) {
        const float ref = node >= 0 ? static_cast<float>(nodes.stillCountOfNode(node)) : 0.0f;
        const float steps = std::trunc((frameNumber - ref) / static_cast<float>(interval));
        // Only the low 16 bits matter; a step beyond any real animation (or NaN) counts as 0.
        if (std::fabs(steps) < 1.0e18f)
            step = static_cast<std::uint32_t>(static_cast<std::int64_t>(steps));
    }
    const std::uint32_t b = randomTableA[cellIndex(cell.x)];
    const std::uint32_t result = randomTableB[cellIndex(cell.y)] * (b + 1) + randomTableA[step & 0xFFFF] + b;
    return static_cast<std::uint16_t>(result & 0xFFFF);
}

}  // namespace vml
