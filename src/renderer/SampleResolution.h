#pragma once
// Resolution of the sample grid after shading (antialiased renders only): merges samples of
// neighbouring faces of one object, blends partial samples toward the sample behind them, then
// smooths every row and then every column.

#include "host/Point2.h"

namespace vml {

class SampleGrid;
class SceneFaces;
struct ScreenProjection;

// `origin` is the screen position of grid pixel (0, 0) (the region origin of a crop render).
void resolveSampleGrid(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                       IPoint2 origin = {});

// The three steps, in the order resolveSampleGrid runs them, for tests.
void mergeSampleRuns(SampleGrid& grid, const ScreenProjection& projection, const SceneFaces& faces,
                     IPoint2 origin);
void blendPartialSamples(SampleGrid& grid);
void smoothSampleLines(SampleGrid& grid);

}  // namespace vml
