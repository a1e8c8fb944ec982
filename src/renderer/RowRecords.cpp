#include "renderer/RowRecords.h"

#include "renderer/SceneFaces.h"

#include <cmath>
#include <new>

namespace vml {

bool RowRecords::reset(int height)
{
    try {
        if (height > 0 && rows_.size() < static_cast<std::size_t>(height))
            rows_.resize(static_cast<std::size_t>(height));
        locks_.reset(rows_.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (Record& r : rows_)
        r = Record{};
    return true;
}

void RowRecords::release()
{
    rows_.clear();
    rows_.shrink_to_fit();
    locks_.release();
}

bool RowRecords::acceptSample(const RowSampleQuery& sample, bool hiddenFace, int cropY,
                              const SceneFaces& faces)
{
    const int y = sample.pixel.y - cropY;
    if (y < 0 || y >= rowCount())
        return false;
    RowLocks::Guard lock(locks_, static_cast<std::size_t>(y));
    Record& r = rows_[static_cast<std::size_t>(y)];
    if (r.x == sample.pixel.x && r.nodeId == sample.nodeId) {
        if (r.face == sample.face || faces.nodeFacesShareVertex(sample.nodeId, r.face, sample.face))
            return false;
        if (r.hiddenFace &&
            (r.centreDistance != 0.0f || std::fabs(sample.depth - r.depth) > hiddenFaceDepthTolerance))
            return false;
    }
    const float dx = (sample.subPixel.x - 0.5f) * 2.0f, dy = (sample.subPixel.y - 0.5f) * 2.0f;
    r = Record{sample.pixel.x, sample.nodeId,     sample.face, std::sqrt(dx * dx + dy * dy),
               sample.depth,   hiddenFace ? 1 : 0};
    return true;
}

}  // namespace vml
