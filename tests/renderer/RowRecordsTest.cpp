#include "renderer/RowRecords.h"
#include "support/StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

using test_support::HandFaces;
using vml::RowRecords;
using vml::RowSampleQuery;

namespace {

RowSampleQuery at(int x, int y, int node, int face, float depth = -1.0f, Point2 subPixel = {0.5f, 0.5f})
{
    return {{x, y}, subPixel, node, face, depth};
}

class RowFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        faces.add(1, 0, {{0, 1, 2}, {}});
        faces.add(1, 1, {{2, 3, 4}, {}});  // shares vertex 2 with face 0
        faces.add(1, 2, {{5, 6, 7}, {}});
        ASSERT_TRUE(rows.reset(3));
    }
    HandFaces faces;
    RowRecords rows;
};

TEST_F(RowFilter, OneStrokePerObjectAndPixel)
{
    EXPECT_TRUE(rows.acceptSample(at(5, 1, 1, 0), false, 0, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 1, 1, 0), false, 0, faces));  // same face
    EXPECT_FALSE(rows.acceptSample(at(5, 1, 1, 1), false, 0, faces));  // shares a vertex
    EXPECT_TRUE(rows.acceptSample(at(5, 1, 1, 2), false, 0, faces));   // unrelated face
    EXPECT_TRUE(rows.acceptSample(at(5, 1, 2, 2), false, 0, faces));   // another node
    EXPECT_TRUE(rows.acceptSample(at(6, 1, 2, 2), false, 0, faces));   // another pixel
    EXPECT_TRUE(rows.acceptSample(at(6, 0, 2, 2), false, 0, faces));   // another row
    EXPECT_EQ(rows.row(1).x, 6);
    EXPECT_EQ(rows.row(2).x, -1);

    ASSERT_TRUE(rows.reset(3));
    EXPECT_TRUE(rows.acceptSample(at(6, 1, 2, 2), false, 0, faces));
}

TEST_F(RowFilter, RowsCountFromTheCropOrigin)
{
    EXPECT_TRUE(rows.acceptSample(at(5, 12, 1, 0), false, 10, faces));
    EXPECT_EQ(rows.row(2).x, 5);
    EXPECT_FALSE(rows.acceptSample(at(5, 12, 1, 0), false, 10, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 13, 1, 0), false, 10, faces));  // below the table
    EXPECT_FALSE(rows.acceptSample(at(5, 9, 1, 0), false, 10, faces));   // above it
}

TEST_F(RowFilter, RecordsTheCentreDistanceAndDepth)
{
    EXPECT_TRUE(rows.acceptSample(at(3, 0, 1, 0, -2.5f, {1.0f, 0.5f}), true, 0, faces));
    EXPECT_FLOAT_EQ(rows.row(0).centreDistance, 1.0f);
    EXPECT_FLOAT_EQ(rows.row(0).depth, -2.5f);
    EXPECT_EQ(rows.row(0).hiddenFace, 1);
    EXPECT_EQ(rows.row(0).face, 0);
}

TEST_F(RowFilter, HiddenFaceRecordsRejectOffCentreOrOtherDepth)
{
    // A centred hidden-face record admits unrelated faces at its own depth only.
    EXPECT_TRUE(rows.acceptSample(at(5, 0, 1, 0, -1.0f), true, 0, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 0, 1, 2, -1.1f), false, 0, faces));
    EXPECT_TRUE(rows.acceptSample(at(5, 0, 1, 2, -1.000005f), false, 0, faces));

    // An off-centre one rejects them whatever the depth.
    EXPECT_TRUE(rows.acceptSample(at(5, 1, 1, 0, -1.0f, {0.25f, 0.5f}), true, 0, faces));
    EXPECT_FALSE(rows.acceptSample(at(5, 1, 1, 2, -1.0f), false, 0, faces));
    // Without the flag the same sample is accepted.
    EXPECT_TRUE(rows.acceptSample(at(5, 2, 1, 0, -1.0f, {0.25f, 0.5f}), false, 0, faces));
    EXPECT_TRUE(rows.acceptSample(at(5, 2, 1, 2, -3.0f), false, 0, faces));
}

}  // namespace
