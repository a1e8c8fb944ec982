#pragma once
// Helpers shared by the canvas tests: both canvas kinds as a typed-test list, and an allocation
// observer that records the hooks and can fail on a chosen low-memory check.

#include "paint/vmlRaster.h"
#include "paint/vmlRasterRS.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>
#include <vector>

namespace test_support {

// Helpers over the system's own types, which they name as the system does.
using namespace vml;

using CanvasKinds = ::testing::Types<vmlRaster, vmlRasterRS>;

// Rows (pixel rows, then wet rows for the half-resolution kind) a canvas allocates per Init,
// and the low-memory checks that go with them (one more per row-pointer array).
inline int allocatedRows(const vmlRaster&, int height) { return height; }
inline int allocatedRows(const vmlRasterRS&, int height) { return height + (height >> 1) + (height & 1); }
inline int lowMemoryChecks(const vmlRaster& canvas, int height) { return 1 + allocatedRows(canvas, height); }
inline int lowMemoryChecks(const vmlRasterRS& canvas, int height)
{
    return 3 + allocatedRows(canvas, height);
}

struct RecordingObserver : CanvasAllocationObserver {
    int checks = 0;
    int failOnCheck = 0;  // 1-based; 0 never fails
    std::vector<std::pair<int, int>> progress;

    void beforeAllocation() override
    {
        if (++checks == failOnCheck)
            throw std::bad_alloc();
    }
    void allocationProgress(int row, int rowCount) override { progress.emplace_back(row, rowCount); }
};

inline BMM_Color_64 bitmapPixel(const Bitmap& bitmap, int x, int y)
{
    BMM_Color_64 p;
    bitmap.GetPixels(x, y, 1, &p);
    return p;
}

inline void setBitmapPixel(Bitmap& bitmap, int x, int y, BMM_Color_64 p) { bitmap.PutPixels(x, y, 1, &p); }

}  // namespace test_support
