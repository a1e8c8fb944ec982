#include "line/LineCoverageSoftening.h"

#include "line/LineBands.h"

#include <algorithm>
#include <cstddef>
#include <mutex>

namespace vml {
namespace {

constexpr int meanRadius = 3;   // the 7 x 7 window
constexpr int sumColumns = 64;  // columns per piece of the table's column pass

// The memory of the last table given back, kept for the next: a frame's table is many
// megabytes, which fresh from the system costs a page fault every few kilobytes.
std::mutex spareLock;
LargeArray<double> spareSums;

}  // namespace

SoftenedCoverage::SoftenedCoverage(const LineCanvas& coverage, ArenaHooks* memory)
    : coverage_(coverage), stride_(static_cast<std::size_t>(coverage.width) + 1)
{
    checkAllocation(memory, AllocationSite::lineBuffer);
    {
        std::lock_guard lock(spareLock);
        std::swap(sums_, spareSums);
    }
    // Every entry but the leading row and column is written below.
    const std::size_t entries = stride_ * (static_cast<std::size_t>(coverage.height) + 1);
    if (sums_.size() != entries) {
        sums_.release();
        sums_ = LargeArray<double>(entries);
    }
    std::fill(sums_.begin(), sums_.begin() + static_cast<std::ptrdiff_t>(stride_), 0.0);

    // The table is built in two passes that add the same values in the same order as a row by
    // row build (entry = entry above + running row sum), so its sums do not depend on how the
    // work is split: first the running row sums, row by row, then the running column sums.
    const int width = coverage.width, height = coverage.height;
    forEachLineBand(height, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const float* in = &coverage.pixels[static_cast<std::size_t>(y) * width];
            double* out = &sums_[index(1, y + 1)];
            out[-1] = 0.0;
            double rowSum = 0.0;
            for (int x = 0; x < width; ++x) {
                rowSum += in[x];
                out[x] = rowSum;
            }
        }
    });
    const int strips = (width + sumColumns - 1) / sumColumns;
    renderWorkers().run(static_cast<std::size_t>(strips), [&](std::size_t strip) {
        const int x0 = 1 + static_cast<int>(strip) * sumColumns, x1 = std::min(x0 + sumColumns, width + 1);
        for (int y = 1; y <= height; ++y) {
            const double* above = &sums_[index(0, y - 1)];
            double* row = &sums_[index(0, y)];
            for (int x = x0; x < x1; ++x)
                row[x] = above[x] + row[x];
        }
    });
}

SoftenedCoverage::~SoftenedCoverage()
{
    std::lock_guard lock(spareLock);
    if (sums_.size() > spareSums.size())
        std::swap(sums_, spareSums);
}

double SoftenedCoverage::sum(int x0, int y0, int x1, int y1) const
{
    return sums_[index(x1 + 1, y1 + 1)] - sums_[index(x0, y1 + 1)] - sums_[index(x1 + 1, y0)] +
           sums_[index(x0, y0)];
}

float SoftenedCoverage::mean(int x, int y) const
{
    const int x0 = std::max(x - meanRadius, 0), x1 = std::min(x + meanRadius, coverage_.width - 1);
    const int y0 = std::max(y - meanRadius, 0), y1 = std::min(y + meanRadius, coverage_.height - 1);
    const int count = (x1 - x0 + 1) * (y1 - y0 + 1);
    return static_cast<float>(sum(x0, y0, x1, y1) / count);
}

void SoftenedCoverage::meanRow(int y, float* out) const
{
    const int width = coverage_.width;
    const int y0 = std::max(y - meanRadius, 0), y1 = std::min(y + meanRadius, coverage_.height - 1);
    const double* top = &sums_[index(0, y0)];
    const double* bottom = &sums_[index(0, y1 + 1)];
    const int rows = y1 - y0 + 1;
    // The same sum and count as mean(x, y); the window is clipped only near the ends of the row.
    auto meanAt = [&](int x0, int x1) {
        const double sum = bottom[x1 + 1] - bottom[x0] - top[x1 + 1] + top[x0];
        return static_cast<float>(sum / ((x1 - x0 + 1) * rows));
    };
    const int innerEnd = width - meanRadius;
    int x = 0;
    for (; x < std::min(meanRadius, width); ++x)
        out[x] = meanAt(0, std::min(x + meanRadius, width - 1));
    for (; x < innerEnd; ++x)
        out[x] = meanAt(x - meanRadius, x + meanRadius);
    for (; x < width; ++x)
        out[x] = meanAt(std::max(x - meanRadius, 0), width - 1);
}

float SoftenedCoverage::sharpen(int x, int y, float a) const
{
    for (int j = std::max(y - 1, 0); j <= std::min(y + 1, coverage_.height - 1); ++j)
        for (int i = std::max(x - 1, 0); i <= std::min(x + 1, coverage_.width - 1); ++i) {
            const float c = coverage_.at(i, j);
            a *= 0.7f * c * c + 0.3f;
        }
    return a;
}

}  // namespace vml
