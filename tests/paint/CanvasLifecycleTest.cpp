#include "support/CanvasTestSupport.h"

#include <gtest/gtest.h>

#include <new>

namespace {

using namespace vml;
using namespace test_support;

template <class Canvas> class CanvasLifecycle : public ::testing::Test {
protected:
    Canvas canvas;
};
TYPED_TEST_SUITE(CanvasLifecycle, CanvasKinds);

TYPED_TEST(CanvasLifecycle, BitmapWithoutStorageGivesAnEmptyCanvasThatDoesNothing)
{
    auto& canvas = this->canvas;
    int first = 7, last = 7;
    canvas.GetDirtyRows(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, -1);
    canvas.ResetDirty();  // nothing to reset, nothing to touch
    Bitmap empty;
    for (Bitmap* bitmap : {&empty, static_cast<Bitmap*>(nullptr)}) {
        EXPECT_TRUE(canvas.Init(bitmap));
        EXPECT_FALSE(canvas.IsAllocated());
        EXPECT_EQ(canvas.width(), 0);
        EXPECT_EQ(canvas.height(), 0);
        EXPECT_EQ(canvas.Load(false), 0);
        EXPECT_EQ(canvas.Load(true), 0);
        EXPECT_EQ(canvas.LoadColour(bitmap), 0);
        canvas.Store();
        canvas.WriteOutput(bitmap, {}, false);
        canvas.StampCoverage(0, 0, 1.0f);
        canvas.GetDirtyRows(first, last);
        EXPECT_EQ(first, 0);
        EXPECT_EQ(last, -1);
    }
    EXPECT_EQ(empty.RefreshCount(), 0);
}

TYPED_TEST(CanvasLifecycle, InitWithTheSameSizeKeepsRowsAndContentUntilFreed)
{
    auto& canvas = this->canvas;
    RecordingObserver observer;
    canvas.setAllocationObserver(&observer);
    Bitmap bitmap(4, 3), sameSize(4, 3);
    EXPECT_TRUE(canvas.Init(&bitmap));
    EXPECT_TRUE(canvas.IsAllocated());
    EXPECT_EQ(canvas.width(), 4);
    EXPECT_EQ(canvas.height(), 3);
    EXPECT_EQ(observer.checks, lowMemoryChecks(canvas, 3));
    EXPECT_EQ(static_cast<int>(observer.progress.size()), allocatedRows(canvas, 3));
    EXPECT_EQ(observer.progress.front(), std::make_pair(0, 3));
    EXPECT_EQ(observer.progress[2], std::make_pair(2, 3));

    canvas.SetPixel(3, 2, AColor(0.1f, 0.2f, 0.3f, 0.4f));
    canvas.SetMask(3, 2, 99);
    observer = RecordingObserver{};
    canvas.Init(&bitmap);
    canvas.Init(&sameSize);
    EXPECT_EQ(observer.checks, 0);
    EXPECT_TRUE(observer.progress.empty());
    EXPECT_EQ(canvas.GetPixel(3, 2), AColor(0.1f, 0.2f, 0.3f, 0.4f));
    EXPECT_EQ(canvas.maskAt(3, 2), 99);
    EXPECT_EQ(canvas.boundBitmap(), &sameSize);

    canvas.Free();
    EXPECT_FALSE(canvas.IsAllocated());
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.boundBitmap(), nullptr);
}

TYPED_TEST(CanvasLifecycle, ChangedSizeReallocatesRowsAndDirtyArrays)
{
    auto& canvas = this->canvas;
    RecordingObserver observer;
    canvas.setAllocationObserver(&observer);
    Bitmap small(4, 3), tall(4, 6), wide(7, 6);
    canvas.Init(&small);
    canvas.SetPixel(0, 0, AColor(1, 1, 1, 1));

    observer = RecordingObserver{};
    canvas.Init(&tall);
    EXPECT_EQ(static_cast<int>(observer.progress.size()), allocatedRows(canvas, 6));
    EXPECT_EQ(canvas.GetPixel(0, 0), AColor(0, 0, 0, 0));  // fresh rows
    // Every row of the new height has its own dirty span.
    for (int y = 0; y < 6; ++y) {
        int first = 0, last = 0;
        canvas.GetRowSpan(first, last, y);
        EXPECT_EQ(first, 4);
        EXPECT_EQ(last, -1);
    }
    canvas.StampCoverage(3, 5, 0.5f);
    int first = 0, last = 0;
    canvas.GetRowSpan(first, last, 5);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 3);
    canvas.GetDirtyRows(first, last);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(last, 5);

    // A width change alone also reallocates the rows; spans then use the new width.
    observer = RecordingObserver{};
    canvas.Init(&wide);
    EXPECT_EQ(static_cast<int>(observer.progress.size()), allocatedRows(canvas, 6));
    canvas.GetRowSpan(first, last, 5);
    EXPECT_EQ(first, 7);
    EXPECT_EQ(last, -1);
    EXPECT_EQ(canvas.GetCoverageAt(3, 5), 0.0f);
}

TYPED_TEST(CanvasLifecycle, AllocationFailureLeavesTheCanvasEmpty)
{
    auto& canvas = this->canvas;
    Bitmap before(3, 3), bitmap(6, 5);
    canvas.Init(&before);
    const int checks = lowMemoryChecks(canvas, 5);
    // Fail on the pointer array, on the third row, and on the very last check.
    for (int failOn : {1, 4, checks}) {
        RecordingObserver observer;
        observer.failOnCheck = failOn;
        canvas.setAllocationObserver(&observer);
        EXPECT_THROW(canvas.Init(&bitmap), std::bad_alloc) << "failing check " << failOn;
        EXPECT_FALSE(canvas.IsAllocated());
        EXPECT_EQ(canvas.width(), 0);
        EXPECT_EQ(canvas.height(), 0);
        EXPECT_EQ(canvas.boundBitmap(), nullptr);
        EXPECT_EQ(canvas.Load(true), 0);
        canvas.Store();
        EXPECT_EQ(bitmap.RefreshCount(), 0);
    }

    // The next Init starts from scratch and succeeds.
    RecordingObserver observer;
    canvas.setAllocationObserver(&observer);
    EXPECT_TRUE(canvas.Init(&bitmap));
    EXPECT_TRUE(canvas.IsAllocated());
    EXPECT_EQ(observer.checks, checks);
    canvas.setAllocationObserver(nullptr);
    EXPECT_TRUE(canvas.Init(&before));
}

}  // namespace
