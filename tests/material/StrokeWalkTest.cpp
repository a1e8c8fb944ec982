// The stroke painter: the set-up of a stroke from its record and the walk of its dabs over the
// canvas.

#include "material/StrokeWalk.h"
#include "host/NormalCompression.h"
#include "material/DabBrush.h"
#include "material/StrokeSetup.h"
#include "material/vmlObjBrush.h"
#include "paint/vmlRaster.h"
#include "renderer/NodeRecords.h"
#include "renderer/SampleGrid.h"
#include "shell/RandomTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace vml;

// A round tip of value 1 inside the inscribed circle of the brush square.
class DiscBrush final : public DabBrush {
public:
    explicit DiscBrush(int variants = 1) : variants_(variants) {}
    int variantCount() const override { return variants_; }
    void setVariant(std::uint16_t, int) override {}
    void beginDab(float cs, float sn) override { cs_ = cs, sn_ = sn; }
    ReadRun sampleRow(float u, float v, int count, float* values) override
    {
        for (int i = 0; i < count; ++i) {
            const float du = u + static_cast<float>(i) * cs_ - 0.5f,
                        dv = v + static_cast<float>(i) * sn_ - 0.5f;
            values[i] = du * du + dv * dv <= 0.25f ? 1.0f : 0.0f;
        }
        return {0, count};
    }

private:
    int variants_;
    float cs_ = 0.0f, sn_ = 0.0f;
};

class StrokeWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        fillRandomTables();
        canvas.Init(&bitmap);
        canvas.ResetDirty();
        ASSERT_TRUE(grid.setup(width, height));
        // A straight stroke along +x that never leaves its surface, one dab per pixel step.
        setup.size = 2.0f, setup.halfBox = 2, setup.position = {20.5f, 20.5f}, setup.rough = 0.0f;
        setup.length = 10.0f;
    }
    std::vector<DabTrace> walk(DabBrush& brush)
    {
        std::vector<DabTrace> trace;
        walkStroke(setup, surface, brush, canvas, &trace);
        return trace;
    }
    void clear()
    {
        canvas.Init(&bitmap);
        canvas.Load(true);
        canvas.ResetDirty();
    }
    std::vector<float> coverage() const
    {
        std::vector<float> all;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                all.push_back(canvas.GetCoverageAt(x, y));
        return all;
    }
    // The dirty rows and every row's span, which the deposit walks.
    std::vector<int> dirtyState() const
    {
        std::vector<int> state(2);
        canvas.GetDirtyRows(state[0], state[1]);
        for (int y = 0; y < height; ++y) {
            int first = 0, last = -1;
            canvas.GetRowSpan(first, last, y);
            state.insert(state.end(), {first, last});
        }
        return state;
    }
    static constexpr int width = 48, height = 40;
    Bitmap bitmap{width, height};
    vmlRaster canvas;
    SampleGrid grid;
    NodeRecords nodes;
    StrokeSurface surface{&grid, &nodes, width, height, 1, 0, -10.0f};
    StrokeSetup setup;
    DiscBrush brush;
};

TEST_F(StrokeWalk, ZeroLengthStampsOneDabAtTheSeedPointHalfWayAlongTheStroke)
{
    setup.length = 0.0f;
    // Position 0.5 lies before an alpha fade-in that ends at 0.6 with full strength:
    // a = 1 - ((1 - 0.5 / 0.6) x 1)^2 = 1 - (1/6)^2 = 35/36.
    setup.alphaDampStart = 1.0f;
    setup.alphaDampStartPos = 0.6f;
    const auto trace = walk(brush);
    ASSERT_EQ(trace.size(), 1u);
    EXPECT_FLOAT_EQ(trace[0].centre.x, 20.5f);
    EXPECT_FLOAT_EQ(trace[0].centre.y, 20.5f);
    EXPECT_NEAR(trace[0].alpha, 35.0f / 36.0f, 1e-5f);
    EXPECT_FLOAT_EQ(canvas.GetCoverageAt(20, 20), 35.0f / 36.0f);
}

TEST_F(StrokeWalk, FullRoughnessEndsTheStrokeWhereItsObjectEnds)
{
    // The object covers columns 0..9 of row 20; the stroke starts on the left edge of column 2
    // heading right, so every step lands exactly on a pixel edge and enters the next column.
    PixelSample s;
    s.nodeId = 1, s.depth = -10.0f, s.normal = CompressNormal({0.0f, 0.0f, 1.0f});
    for (int x = 0; x < 10; ++x)
        ASSERT_TRUE(grid.insertSample(x, 20, s));
    setup.position = {2.0f, 20.5f};
    setup.length = 30.0f;
    setup.rough = 1.0f;
    const auto trace = walk(brush);
    // Steps are taken from columns 2..9 (each with a sample), the lookup in column 10 ends the
    // stroke: the seed dab and eight more, the last on column 10's left edge.
    ASSERT_EQ(trace.size(), 9u);
    EXPECT_FLOAT_EQ(trace.back().centre.x, 10.0f);
}

TEST_F(StrokeWalk, RandomRakeChangesTheVariantAtEveryDab)
{
    setup.rake = 2;
    DiscBrush single(1);
    for (const DabTrace& dab : walk(single))
        EXPECT_EQ(dab.variantIndex, 0);
    for (int variants : {2, 5}) {
        canvas.ResetDirty();
        DiscBrush several(variants);
        const auto trace = walk(several);
        ASSERT_GT(trace.size(), 3u);
        for (std::size_t i = 1; i < trace.size(); ++i) {
            EXPECT_NE(trace[i].variantIndex, trace[i - 1].variantIndex);
            EXPECT_LT(trace[i].variantIndex, variants);
        }
    }
}

TEST_F(StrokeWalk, DabsAreClippedToTheCanvas)
{
    setup.length = 0.0f, setup.size = 6.0f, setup.halfBox = 6, setup.position = {0.5f, 0.5f};
    walk(brush);
    EXPECT_GT(canvas.GetCoverageAt(0, 0), 0.0f);
    EXPECT_GT(canvas.GetCoverageAt(3, 0), 0.0f);
    int first = 0, last = 0;
    canvas.GetDirtyRows(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_LE(last, 6);
}

// The canvas coverage a recording stands for, row by row as the recording lists it.
std::vector<float> recordedCoverage(const CoverageRecording& recording)
{
    std::vector<float> all(static_cast<std::size_t>(recording.width() * recording.height()), 0.0f);
    recording.forEachRow([&](int y, int first, int last, const float* values) {
        for (int x = first; x <= last; ++x)
            all[static_cast<std::size_t>(y * recording.width() + x)] = values[x - first];
    });
    return all;
}

TEST_F(StrokeWalk, ARecordedWalkHoldsTheCoverageTheDirectWalkRaises)
{
    // Long wavy strokes partly off the canvas, so clipped rows and runs are recorded too; one
    // recording takes them in turn, as a prepared stroke's slot does, and the longer one leaves
    // the window the first run placed.
    struct Case {
        const char* what;
        float length;
        Point2 position;
        float direction;
    };
    const Case cases[] = {
        {"forty pixels from the right edge", 40.0f, {44.5f, 3.5f}, 0.7f},
        {"across the whole canvas", 150.0f, {2.5f, 36.5f}, -0.6f},
        {"forty pixels again, in a window grown before", 40.0f, {20.5f, 20.5f}, 2.0f},
    };
    CoverageRecording recording;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clear();
        setup.length = c.length, setup.size = 5.0f, setup.halfBox = 5, setup.position = c.position;
        setup.direction = c.direction, setup.deformAmplitude = 0.4f, setup.deformFrequency = 2.0f;
        const StrokeWalkCounts direct = walkStroke(setup, surface, brush, canvas);
        recording.reset(width, height);
        const StrokeWalkCounts recorded = walkStroke(setup, surface, brush, recording);
        EXPECT_EQ(recordedCoverage(recording), coverage());
        EXPECT_EQ(recorded.dabs, direct.dabs);
        EXPECT_EQ(recording.raised(), direct.dabPixels) << "the recording counts the dab pixels";
        EXPECT_GT(direct.dabPixels, 0);
    }
}

TEST(CoverageRecordingWindow, AWalkTooLargeForTheWindowIsKeptRowByRow)
{
    // Overlapping runs down the diagonal of a large canvas, as a long stroke leaves them: their
    // bounding box passes the window's limit part way, and what came before must survive the
    // change. A small walk after it is held in the window again.
    constexpr int side = 1000;
    const float values[4] = {0.25f, 1.0f, 0.75f, 0.5f};
    std::vector<float> expected(static_cast<std::size_t>(side) * side, 0.0f);
    CoverageRecording recording;
    recording.reset(side, side);
    long long raised = 0;
    for (int y = 0; y + 1 < side; y += 3)
        for (int dy = 0; dy < 2; ++dy) {
            recording.SelectRowTracked(y + dy);
            raised += recording.RaiseCoverageRun(y + dy - 2, values, 4, 0.5f);
            for (int i = 0; i < 4; ++i)
                if (const int x = y + dy - 2 + i; x >= 0 && x < side) {
                    float& held = expected[static_cast<std::size_t>((y + dy) * side + x)];
                    held = std::max(held, values[i] * 0.5f);
                }
        }
    ASSERT_TRUE(recording.heldByRows());
    auto recorded = [&] {
        std::vector<float> all(expected.size(), 0.0f);
        int lastRow = -1;
        recording.forEachRow([&](int y, int first, int last, const float* v) {
            EXPECT_GT(y, lastRow) << "rows in ascending order";
            lastRow = y;
            for (int x = first; x <= last; ++x)
                all[static_cast<std::size_t>(y * side + x)] = v[x - first];
        });
        return all;
    };
    EXPECT_EQ(recorded(), expected);
    EXPECT_EQ(recording.raised(), raised);

    recording.reset(side, side);
    recording.SelectRowTracked(900);
    EXPECT_EQ(recording.RaiseCoverageRun(10, values, 4, 1.0f), 4);
    EXPECT_FALSE(recording.heldByRows());
    std::fill(expected.begin(), expected.end(), 0.0f);
    std::copy(values, values + 4, expected.begin() + 900 * side + 10);
    EXPECT_EQ(recorded(), expected) << "nothing of the large walk is left";
}

TEST_F(StrokeWalk, StrokesLongerThanAnyCanvasNeedsEndAndPaintWhatCrossesIt)
{
    // Straight strokes over an empty surface, a dab at every pixel step; the 48-pixel canvas sees
    // only their first few dozen steps.
    struct Case {
        const char* what;
        float length;
        float rough;
    };
    const Case cases[] = {
        {"a million pixels long", 1e6f, 0.0f},
        // Leaping a tenth of the rest wherever the surface is missing, the position along the
        // path soon stands where a pixel's step no longer moves it.
        {"so long that its steps stop counting", 1e30f, 0.1f},
    };
    const int limit = walkStepLimit(width, height);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        canvas.ResetDirty();
        setup.length = 100.0f;
        setup.rough = 0.0f;
        walk(brush);
        const std::vector<float> crossing = coverage();
        clear();
        setup.length = c.length;
        setup.rough = c.rough;
        const auto trace = walk(brush);
        EXPECT_LE(trace.size(), static_cast<std::size_t>(2 * limit + 1));
        EXPECT_EQ(coverage(), crossing);
    }
}

TEST_F(StrokeWalk, TheLongestInRangeStrokeIsWalkedToItsEndOnTheSmallestCanvas)
{
    // strokeLength 1000 at a brush scale of 999%, doubled by the face-size geometry and again by
    // the length randomness: the longest stroke the parameters' ranges allow.
    setup.length = 1000.0f * 9.99f * 2.0f * 2.0f;
    const auto trace = walk(brush);
    ASSERT_EQ(trace.size(), static_cast<std::size_t>(std::ceil(setup.length)) + 1);
    EXPECT_FLOAT_EQ(trace.back().centre.x, 20.5f + setup.length);
}

TEST_F(StrokeWalk, ASeedNoDabCanCarryToTheCanvasPaintsNothing)
{
    setup.length = 1e6f;
    const Point2 seeds[] = {{1e12f, 20.5f}, {20.5f, -1e12f}, {-1e9f, -1e9f}, {std::nanf(""), 20.5f}};
    for (const Point2& seed : seeds) {
        SCOPED_TRACE(::testing::Message() << seed.x << ", " << seed.y);
        setup.position = seed;
        EXPECT_TRUE(walk(brush).empty());
        int first = 0, last = 0;
        canvas.GetDirtyRows(first, last);
        EXPECT_GT(first, last);
    }
}

// Settings with randomness in every part of the set-up.
struct RandomSettings {
    mtlcache::BrushCache brush{
        .brushOpacity = 100.0f, .brushSize = 4.0f, .brushSizeRnd = 60.0f, .brushAngleRnd = 90.0f};
    mtlcache::StrokeCache stroke{.strokeLength = 20.0f,
                                 .strokeLengthRnd = 80.0f,
                                 .strokeAngleRnd = 120.0f,
                                 .strokeOffset = 50.0f,
                                 .strokeOffsetRnd = 60.0f,
                                 .strokeDeformAmp = 30.0f,
                                 .strokeDeformFreq = 1.0f,
                                 .strokeRough = 100.0f,  // never leave the surface: walk the whole length
                                 .strokeDampSizeEdPos = 100.0f,
                                 .strokeDampAlphaEdPos = 100.0f};
};

vmlObjBrush strokeAt(std::uint16_t seed)
{
    vmlObjBrush stroke;
    stroke.seed = seed, stroke.x = 24.0f, stroke.y = 20.0f, stroke.nodeId = 1, stroke.depthKey = -10.0f;
    stroke.normal = CompressNormal({0.0f, 0.0f, 1.0f});
    return stroke;
}

TEST_F(StrokeWalk, TheSameStrokePaintsTheSameCoverageAndAnotherSeedPaintsOther)
{
    const RandomSettings settings;
    StrokeSetupFrame frame;
    auto paintSeed = [&](std::uint16_t seed) {
        clear();
        const auto s = setUpStroke(strokeAt(seed), settings.brush, settings.stroke, frame);
        EXPECT_TRUE(s.has_value());
        setup = *s;
        walk(brush);
        return coverage();
    };
    const auto first = paintSeed(1234);
    EXPECT_EQ(paintSeed(1234), first);
    EXPECT_NE(paintSeed(1235), first);
}

// A tile read as the renderer's brush cache reads it: every pixel of every row, only where its
// tip can be, or handed to the walk to read itself.
class TileBrush final : public DabBrush {
public:
    enum class Reads { wholeRows, tipOnly, byTheWalk };
    TileBrush(const std::vector<std::uint8_t>& tile, int size, Reads reads)
        : sampler_(tile.data(), size, BrushTileSampler::nonzeroBox(tile.data(), size)), reads_(reads)
    {}
    int variantCount() const override { return 1; }
    void setVariant(std::uint16_t, int) override {}
    void beginDab(float cs, float sn) override { sampler_.setTextureSteps(cs, sn); }
    ReadRun sampleRow(float u, float v, int count, float* values) override
    {
        sampler_.setPosition(u, v);
        if (reads_ != Reads::wholeRows)
            return sampler_.sampleNonzeroRun(values, count);
        sampler_.sampleRun(values, count);
        return {0, count};
    }
    TextureBox tipBounds(int reads) const override
    {
        return reads_ != Reads::wholeRows ? sampler_.nonzeroReach(reads) : TextureBox{};
    }
    BrushTileSampler* dabTile() override { return reads_ == Reads::byTheWalk ? &sampler_ : nullptr; }

private:
    BrushTileSampler sampler_;
    Reads reads_;
};

TEST_F(StrokeWalk, SkippingWhereTheTipIsEmptyRaisesTheSameCoverage)
{
    // Narrow tips away from the centre of the tile, so that most rows and columns of a dab are
    // empty: one inside, one running to the tile's last column and row.
    constexpr int size = 32;
    std::vector<std::uint8_t> inside(size * size), toTheEdge(size * size);
    for (int r = 3; r <= 9; ++r)
        for (int c = 20 + r % 3; c <= 29; ++c)
            inside[static_cast<std::size_t>(r * size + c)] = static_cast<std::uint8_t>(20 * r + c);
    for (int r = 26; r < size; ++r)
        for (int c = 24; c < size; ++c)
            toTheEdge[static_cast<std::size_t>(r * size + c)] = static_cast<std::uint8_t>(7 * r + c);
    RandomSettings settings;
    settings.brush.brushAngleRnd = 180.0f;
    StrokeSetupFrame frame;
    long long pixels = 0;
    for (std::uint16_t seed = 1; seed <= 400; ++seed) {
        const std::vector<std::uint8_t>& tile = seed % 2 ? inside : toTheEdge;
        TileBrush wholeRows(tile, size, TileBrush::Reads::wholeRows);
        settings.brush.brushSize = 4.0f + static_cast<float>(seed % 13);
        const auto s = setUpStroke(strokeAt(seed), settings.brush, settings.stroke, frame);
        ASSERT_TRUE(s.has_value());
        setup = *s;
        clear();
        const StrokeWalkCounts expected = walkStroke(setup, surface, wholeRows, canvas);
        const std::vector<float> expectedCoverage = coverage();
        // The tip's runs read row by row, and read by the walk after it has worked out the
        // runs of all the dab's rows; these two also select the same rows, which the deposit
        // then walks (reading whole rows selects the rows around the tip as well).
        std::vector<int> tipDirt;
        for (const TileBrush::Reads reads : {TileBrush::Reads::tipOnly, TileBrush::Reads::byTheWalk}) {
            TileBrush brush(tile, size, reads);
            clear();
            const StrokeWalkCounts got = walkStroke(setup, surface, brush, canvas);
            ASSERT_EQ(coverage(), expectedCoverage) << "seed " << seed;
            if (tipDirt.empty())
                tipDirt = dirtyState();
            ASSERT_EQ(dirtyState(), tipDirt) << "seed " << seed;
            ASSERT_EQ(got.dabPixels, expected.dabPixels) << "seed " << seed;
            ASSERT_EQ(got.dabs, expected.dabs) << "seed " << seed;
        }
        pixels += expected.dabPixels;
    }
    EXPECT_GT(pixels, 10000);
}

TEST(StrokeSetupDraws, NothingPaintsWithoutSize)
{
    fillRandomTables();
    RandomSettings settings;
    settings.brush.brushSize = 0.0f;
    EXPECT_FALSE(setUpStroke(strokeAt(5), settings.brush, settings.stroke, StrokeSetupFrame{}).has_value());
}

// Depth scaling stops at its end depth, the normal shift moves a stroke the way its normal
// points on screen (y down), and a rake mode outside 0..2 is held to it.
TEST(StrokeSetupDraws, DepthScalingNormalShiftAndRakeStayInTheirBounds)
{
    fillRandomTables();
    RandomSettings settings;
    settings.brush.brushSizeRnd = 0.0f;
    settings.brush.brushZScaleEnable = true;
    settings.brush.brushZScaleStart = 10.0f;
    settings.brush.brushZScaleEnd = 20.0f;
    settings.brush.brushOfsNorm = 2.0f;
    settings.stroke.strokeRake = 7;
    StrokeSetupFrame frame;
    auto sizeAt = [&](float depth) {
        frame.objectDepth = depth;
        return setUpStroke(strokeAt(5), settings.brush, settings.stroke, frame)->size;
    };
    EXPECT_FLOAT_EQ(sizeAt(20.0f), 4.0f * 11.0f / 21.0f);
    EXPECT_FLOAT_EQ(sizeAt(40.0f), sizeAt(20.0f));
    vmlObjBrush up = strokeAt(5);
    up.normal = CompressNormal(Normalize(Point3(0.0f, 1.0f, 1.0f)));
    const auto s = setUpStroke(up, settings.brush, settings.stroke, frame);
    EXPECT_NEAR(s->offset.y, -2.0f * std::sqrt(0.5f), 0.02f);
    EXPECT_NEAR(s->offset.x, 0.0f, 0.02f);
    EXPECT_EQ(s->rake, 2);
}

}  // namespace
