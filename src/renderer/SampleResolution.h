#pragma once
// Resolution of the sample grid after shading (antialiased renders only): merges samples of
// neighbouring faces of one object, blends partial samples toward the sample behind them, then
// smooths every row and then every column.

#include "host/Point2.h"

#include <functional>

namespace vml {

class SampleGrid;
class SceneFaces;
struct ScreenProjection;

// Told on the calling thread, before each batch of lines, how many lines of the resolution's
// passes are done of all of them (three passes over the rows, one over the columns); false ends
// the resolution there, the grid partly resolved (a cancelled frame's).
using ResolutionProgress = std::function<bool(int done, int total)>;

// `origin` is the screen position of grid pixel (0, 0) (the region origin of a crop render).
// False when `progress` ended it.
bool resolveSampleGrid(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                       IPoint2 origin = {}, const ResolutionProgress& progress = {});

// The three steps, in the order resolveSampleGrid runs them, for tests.
void mergeSampleRuns(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                     IPoint2 origin);
void blendPartialSamples(SampleGrid& grid);
void smoothSampleLines(SampleGrid& grid);

}  // namespace vml
