#include "material/StrokeCoverage.h"

#include "material/CoverageRecording.h"
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

// The pixels a stroke covers, row by row in ascending order and left to right within a row: from
// the canvas's dirty spans and coverage, or from a recording of the walk.
class CanvasCoverage {
public:
    explicit CanvasCoverage(vmlRasterBase& canvas) : canvas_(canvas) {}
    template <class Visit> void forEachRow(Visit&& visit)
    {
        int firstRow = 0, lastRow = -1;
        canvas_.GetDirtyRows(firstRow, lastRow);
        for (int y = firstRow; y <= lastRow; ++y) {
            canvas_.SelectRow(y);
            int first = 0, last = -1;
            canvas_.GetRowSpan(first, last, y);
            visit(y, first, last);
        }
    }
    float coverage(int x) const { return canvas_.GetCoverage(x); }
    void clear(int x) { canvas_.ClearCoverage(x); }
    void deposit(int x, int y, float) { canvas_.DepositPaint(x, y); }

private:
    vmlRasterBase& canvas_;
};

class RecordedCoverage {
public:
    RecordedCoverage(const CoverageRecording& recording, vmlRasterBase& canvas)
        : recording_(recording), canvas_(canvas)
    {}
    template <class Visit> void forEachRow(Visit&& visit)
    {
        recording_.forEachRow([&](int y, int first, int last, const float* values) {
            canvas_.SelectRow(y);
            values_ = values - first;
            visit(y, first, last);
        });
    }
    float coverage(int x) const { return values_[x]; }
    // The canvas's own coverage was never raised: nothing to clear.
    void clear(int) {}
    void deposit(int x, int y, float coverage) { canvas_.DepositPaintCovered(x, y, coverage); }

private:
    const CoverageRecording& recording_;
    vmlRasterBase& canvas_;
    const float* values_ = nullptr;
};

template <class Coverage>
void paintPixels(const CoveragePaint& p, const PixelAdjustment& adjustment, vmlRasterBase& canvas,
                 Coverage& covered)
{
    const bool lookUp = p.fine > 0.0f || p.noSideDrop;
    // Without fine mixing every pixel has the stroke's colour: its jitter is worked out once.
    AColor lastColour(-1.0f, -1.0f, -1.0f, -1.0f), lastJittered;
    covered.forEachRow([&](int y, int first, int last) {
        for (int x = first; x <= last; ++x) {
            const float coverage = covered.coverage(x);
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
                    covered.clear(x);
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
            covered.deposit(x, y, coverage);
        }
    });
}

}  // namespace

void paintCoverage(const CoveragePaint& paint, const PixelAdjustment& adjustment, vmlRasterBase& canvas)
{
    CanvasCoverage covered(canvas);
    paintPixels(paint, adjustment, canvas, covered);
}

void paintCoverage(const CoveragePaint& paint, const PixelAdjustment& adjustment,
                   const CoverageRecording& recording, vmlRasterBase& canvas)
{
    RecordedCoverage covered(recording, canvas);
    paintPixels(paint, adjustment, canvas, covered);
}

}  // namespace vml
