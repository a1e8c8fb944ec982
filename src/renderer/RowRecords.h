#pragma once
// The per-row stroke filter of a pass: each image row remembers the last sample that made a
// stroke in it, so that one object gets one stroke per pixel.

#include "host/Point2.h"
#include "renderer/RowLocks.h"

#include <vector>

namespace vml {

class SceneFaces;

// What the filter reads of a shading sample.
struct RowSampleQuery {
    IPoint2 pixel;    // screen coordinate (region origin included)
    Point2 subPixel;  // position inside the pixel, 0..1
    int nodeId = 0;
    int face = 0;
    float depth = 0.0f;  // camera-space z
};

class RowRecords {
public:
    struct Record {
        int x = -1;  // -1: empty
        int nodeId = 0;
        int face = 0;
        float centreDistance = 0.0f;
        float depth = 0.0f;
        int hiddenFace = 0;
    };

    // Tolerance on depth for the hidden-face comparison.
    static constexpr float hiddenFaceDepthTolerance = 0.00001f;

    // Per pass: at least `height` rows, every row empty. False when the rows cannot be allocated.
    bool reset(int height);
    void release();

    // Accepts the sample for a stroke unless the record of its row (pixel.y - cropY) already
    // holds the same x and node with the same face, a face sharing a vertex with it, or a
    // hidden-face record that is off-centre or at another depth. An accepted sample becomes the
    // row's record. A row outside the table rejects. Threads may ask at once: each holds the
    // row's lock while it reads and writes the record.
    bool acceptSample(const RowSampleQuery& sample, bool hiddenFace, int cropY, const SceneFaces& faces);

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const Record& row(int y) const { return rows_[static_cast<std::size_t>(y)]; }

private:
    std::vector<Record> rows_;
    RowLocks locks_;
};

}  // namespace vml
