#include "material/StrokeCoverage.h"

#include "paint/PaintAdjustment.h"
#include "paint/vmlRasterBase.h"
#include "renderer/SampleGrid.h"

#include <limits>

namespace vml {

namespace {

constexpr float byteToUnit = 1.0f / 255.0f;
// A sample covering less of its pixel than this lets the stroke thin out there.
constexpr float fullSampleCoverage = 0.95f;

const PixelSample* sampleUnder(const CoveragePaint& p, int x, int y)
{
    if (x < 0 || y < 0 || x >= p.width || y >= p.height)
        return nullptr;
    return p.samples->nearestOfNodeAndMaterial(x, y, p.nodeId, p.material, p.depth,
                                               std::numeric_limits<float>::infinity(), nullptr);
}

}  // namespace

void paintCoverage(const CoveragePaint& p, const PixelAdjustment& adjustment, vmlRasterBase& canvas)
{
    const bool lookUp = p.fine > 0.0f || p.noSideDrop;
    // Without fine mixing every pixel has the stroke's colour: its jitter is worked out once.
    AColor lastColour(-1.0f, -1.0f, -1.0f, -1.0f), lastJittered;
    int firstRow = 0, lastRow = -1;
    canvas.GetDirtyRows(firstRow, lastRow);
    for (int y = firstRow; y <= lastRow; ++y) {
        canvas.SelectRow(y);
        int first = 0, last = -1;
        canvas.GetRowSpan(first, last, y);
        for (int x = first; x <= last; ++x) {
            const float coverage = canvas.GetCoverage(x);
            if (!(coverage > 0.0f))
                continue;
            const PixelSample* sample = lookUp ? sampleUnder(p, x, y) : nullptr;
            AColor c = p.colour;
            if (p.fine > 0.0f && sample) {
                const float m = p.fine * sample->weight;
                c.r += (sample->color[0] * byteToUnit - c.r) * m;
                c.g += (sample->color[1] * byteToUnit - c.g) * m;
                c.b += (sample->color[2] * byteToUnit - c.b) * m;
                c.a += (sample->color[3] * byteToUnit * p.opacity - c.a) * m;
            }
            if (p.noSideDrop) {
                if (!sample) {
                    canvas.ClearCoverage(x);
                    continue;
                }
                if (sample->weight < fullSampleCoverage)
                    c.a *= sample->weight;
            }
            if (!(c == lastColour)) {
                lastColour = c;
                lastJittered = c;
                jitterPixelColour(adjustment, lastJittered);
            }
            c = lastJittered;
            finishPixelColour(adjustment, c, coverage);
            canvas.SetPaintColour(c);
            canvas.DepositPaint(x, y);
        }
    }
}

}  // namespace vml
