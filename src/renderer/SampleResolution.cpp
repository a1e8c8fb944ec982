#include "renderer/SampleResolution.h"

#include "renderer/FaceCoverage.h"
#include "renderer/SampleGrid.h"
#include "renderer/SceneFaces.h"
#include "shell/WorkerPool.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace vml {

namespace {

using Index = SampleGrid::Index;
constexpr Index none = SampleGrid::none;
using Rgba = std::array<std::uint8_t, 4>;

// Weights are floats (1 - 0.6f is 0.39999998): a channel within this of the next integer below
// it is that integer, so exact mixes do not lose a step to rounding.
constexpr double truncationSlack = 1e-3;

std::uint8_t toByte(double v)
{
    return static_cast<std::uint8_t>(std::clamp(std::trunc(v + truncationSlack), 0.0, 255.0));
}

bool sameSurface(const PixelSample& a, const PixelSample& b, const SceneFaces& faces)
{
    return a.nodeId == b.nodeId && (a.face == b.face || faces.nodeFacesShareVertex(a.nodeId, a.face, b.face));
}

// Storage reused from run to run.
struct MergeScratch {
    std::vector<Index> run;
    std::vector<Triangle3> triangles;
    std::vector<int> facesSeen;
};

// Merges the run that starts at `first`; returns the sample after the run.
Index mergeRun(SampleGrid& grid, Index first, const ScreenProjection& projection, const SceneFaces& faces,
               Point2 pixelCentre, MergeScratch& scratch)
{
    auto& [run, triangles, facesSeen] = scratch;
    run.clear();
    run.push_back(first);
    Index after = grid.next(first);
    while (after != none && sameSurface(grid.sample(run.back()), grid.sample(after), faces)) {
        run.push_back(after);
        after = grid.next(after);
    }
    if (run.size() < 2)
        return after;

    PixelSample& keep = grid.sample(first);
    std::array<double, 4> sum{};
    std::array<double, 4> plain{};
    double weights = 0.0;
    int members = 0;
    triangles.clear();
    facesSeen.clear();
    for (Index i : run) {
        const PixelSample& s = grid.sample(i);
        if (s.material != keep.material)
            continue;
        ++members;
        weights += s.weight;
        for (std::size_t ch = 0; ch < 4; ++ch) {
            sum[ch] += static_cast<double>(s.weight) * s.color[ch];
            plain[ch] += s.color[ch];
        }
        if (std::find(facesSeen.begin(), facesSeen.end(), s.face) != facesSeen.end())
            continue;
        facesSeen.push_back(s.face);
        Triangle3 t;
        if (faces.nodeFaceCameraVertices(s.nodeId, s.face, t.v))
            triangles.push_back(t);
    }
    // Weights of samples at the pixel's corners may all be 0: the plain mean then.
    for (std::size_t ch = 0; ch < 4; ++ch)
        keep.color[ch] = toByte(weights > 0.0 ? sum[ch] / weights : plain[ch] / members);
    if (!triangles.empty())
        keep.weight = faceCoverage(triangles, projection, pixelCentre);

    // Unlink the merged samples; samples of another material stay where they are.
    Index last = first;
    for (std::size_t i = 1; i < run.size(); ++i) {
        if (grid.sample(run[i]).material == keep.material)
            continue;
        grid.setNext(last, run[i]);
        last = run[i];
    }
    grid.setNext(last, after);
    return after;
}

// Every pixel's list is its own, so lines (rows or columns) go to the workers in groups:
// lines(first, last). The groups go in batches, and before each the resolution's progress is told
// how far it is, which may end it.
constexpr int linesPerPiece = 32;
constexpr int linesPerBatch = linesPerPiece * 8;
class LineBatches {
public:
    // `progress` may be null.
    LineBatches(int total, const ResolutionProgress* progress) : total_(total), progress_(progress) {}

    // False when the progress ended the pass.
    template <class Lines> bool run(int count, const Lines& lines)
    {
        for (int batch = 0; batch < count; batch += linesPerBatch) {
            if (progress_ && *progress_ && !(*progress_)(done_ + batch, total_))
                return false;
            const int end = std::min(batch + linesPerBatch, count);
            const int pieces = (end - batch + linesPerPiece - 1) / linesPerPiece;
            renderWorkers().run(static_cast<std::size_t>(pieces), [&](std::size_t piece) {
                const int first = batch + static_cast<int>(piece) * linesPerPiece;
                lines(first, std::min(first + linesPerPiece, end) - 1);
            });
        }
        done_ += count;
        return true;
    }

private:
    int total_;
    int done_ = 0;
    const ResolutionProgress* progress_;
};

bool mergeRuns(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces, IPoint2 origin,
               LineBatches& batches)
{
    return batches.run(grid.height(), [&](int firstRow, int lastRow) {
        MergeScratch scratch;
        for (int y = firstRow; y <= lastRow; ++y) {
            for (int x = 0; x < grid.width(); ++x) {
                Index i = grid.first(x, y);
                if (i == none)
                    continue;
                const Point2 centre{static_cast<float>(origin.x + x) + 0.5f,
                                    static_cast<float>(origin.y + y) + 0.5f};
                while (i != none)
                    i = mergeRun(grid, i, projection, faces, centre, scratch);
            }
        }
    });
}

bool blendPartials(SampleGrid& grid, LineBatches& batches)
{
    return batches.run(grid.height(), [&grid](int firstRow, int lastRow) {
        std::vector<PixelSample*> list;
        for (int y = firstRow; y <= lastRow; ++y) {
            for (int x = 0; x < grid.width(); ++x) {
                list.clear();
                for (Index i = grid.first(x, y); i != none; i = grid.next(i))
                    list.push_back(&grid.sample(i));
                for (std::size_t k = list.size(); k-- > 0;) {
                    PixelSample& s = *list[k];
                    if (!(s.weight < 1.0f))
                        continue;
                    const PixelSample* behind = nullptr;
                    for (std::size_t j = k + 1; j < list.size(); ++j) {
                        const PixelSample& t = *list[j];
                        if (t.nodeId != s.nodeId)
                            break;
                        if (t.face != s.face && t.material == s.material) {
                            behind = &t;
                            break;
                        }
                    }
                    if (!behind)
                        continue;
                    const double keep = 1.0 - static_cast<double>(s.weight);
                    for (std::size_t ch = 0; ch < 4; ++ch) {
                        const double own = s.color[ch], found = behind->color[ch];
                        s.color[ch] = toByte(own + (found - own) * keep);
                    }
                    s.weight = 1.0f;
                }
            }
        }
    });
}

struct PendingColour {
    PixelSample* sample;
    Rgba color;
};

// Smooths the line of `length` pixels starting at `start`, stepping by `step`.
void smoothLine(SampleGrid& grid, IPoint2 start, IPoint2 step, int length,
                std::vector<PendingColour>& pending)
{
    pending.clear();
    for (int i = 0; i < length; ++i) {
        const IPoint2 p{start.x + step.x * i, start.y + step.y * i};
        for (Index c = grid.first(p.x, p.y); c != none; c = grid.next(c)) {
            const PixelSample& s = grid.sample(c);
            std::array<int, 4> acc{};
            int weight = 5;
            for (std::size_t ch = 0; ch < 4; ++ch)
                acc[ch] = 5 * s.color[ch];
            for (int side = -1; side <= 1; side += 2) {
                const IPoint2 n{p.x + step.x * side, p.y + step.y * side};
                const PixelSample* t = grid.nearestOfMaterial(n.x, n.y, s.material, s.depth, nullptr);
                if (!t)
                    continue;
                for (std::size_t ch = 0; ch < 4; ++ch)
                    acc[ch] += t->color[ch];
                weight += 1;
            }
            Rgba out;
            for (std::size_t ch = 0; ch < 4; ++ch)
                out[ch] = static_cast<std::uint8_t>(acc[ch] / weight);
            pending.push_back({&grid.sample(c), out});
        }
    }
    for (const PendingColour& p : pending)
        p.sample->color = p.color;
}

bool smoothLines(SampleGrid& grid, LineBatches& batches)
{
    // A line reads and writes only its own samples.
    auto smooth = [&grid, &batches](int lines, IPoint2 step, int length) {
        return batches.run(lines, [&](int first, int last) {
            std::vector<PendingColour> pending;
            for (int i = first; i <= last; ++i)
                smoothLine(grid, step.x ? IPoint2{0, i} : IPoint2{i, 0}, step, length, pending);
        });
    };
    return smooth(grid.height(), {1, 0}, grid.width()) && smooth(grid.width(), {0, 1}, grid.height());
}

}  // namespace

void mergeSampleRuns(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                     IPoint2 origin)
{
    LineBatches batches(grid.height(), nullptr);
    mergeRuns(grid, projection, faces, origin, batches);
}

void blendPartialSamples(SampleGrid& grid)
{
    LineBatches batches(grid.height(), nullptr);
    blendPartials(grid, batches);
}

void smoothSampleLines(SampleGrid& grid)
{
    LineBatches batches(grid.height() + grid.width(), nullptr);
    smoothLines(grid, batches);
}

bool resolveSampleGrid(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                       IPoint2 origin, const ResolutionProgress& progress)
{
    LineBatches batches(3 * grid.height() + grid.width(), &progress);
    return mergeRuns(grid, projection, faces, origin, batches) && blendPartials(grid, batches) &&
           smoothLines(grid, batches);
}

}  // namespace vml
