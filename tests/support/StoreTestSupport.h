#pragma once
// Helpers for the renderer's per-frame store tests: counting arena hooks, a stroke record, pixel
// samples, and scene faces given by hand.

#include "renderer/ArenaHooks.h"
#include "renderer/SampleGrid.h"
#include "renderer/SceneFaces.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/vmlStrokeRecord.h"

#include <cstdint>
#include <map>
#include <new>
#include <utility>
#include <vector>

namespace test_support {

// Helpers over the system's own types, which they name as the system does.
using namespace vml;

struct CountingHooks : ArenaHooks {
    int lowMemoryChecks = 0;
    int outOfMemoryReports = 0;
    void lowMemoryCheck() override { ++lowMemoryChecks; }
    void outOfMemory() override { ++outOfMemoryReports; }
};

// A padding-free record: orderKey is `group`, so records of one depth and group are ordered by
// their bytes (the id).
class TestStroke final : public vmlStrokeRecord {
public:
    TestStroke(float depth, std::uint32_t id, std::uint32_t group = 0)
        : vmlStrokeRecord(depth), id(id), group(group)
    {}
    TestStroke(const TestStroke&) = default;

    void paint(StrokePaintContext&) override {}
    std::size_t size() const override { return sizeof(TestStroke); }
    vmlStrokeRecord* copyTo(void* storage) const override { return new (storage) TestStroke(*this); }
    std::uint64_t orderKey() const override { return group; }

    std::uint32_t id;
    std::uint32_t group;
};

// Faces of nodes by their vertex indices and camera-space corners.
class HandFaces : public SceneFaces {
public:
    struct FaceData {
        int v[3];
        Point3 corners[3];
    };

    void add(int node, int face, FaceData data) { faces_[{node, face}] = data; }

    bool nodeFacesShareVertex(int node, int a, int b) const override
    {
        const auto fa = faces_.find({node, a}), fb = faces_.find({node, b});
        if (fa == faces_.end() || fb == faces_.end())
            return false;
        for (int i : fa->second.v)
            for (int j : fb->second.v)
                if (i == j)
                    return true;
        return false;
    }
    bool nodeFaceCameraVertices(int node, int face, Point3 (&corners)[3]) const override
    {
        const auto f = faces_.find({node, face});
        if (f == faces_.end())
            return false;
        for (int k = 0; k < 3; ++k)
            corners[k] = f->second.corners[k];
        return true;
    }

private:
    std::map<std::pair<int, int>, FaceData> faces_;
};

// Two materials' sample keys.
inline constexpr MaterialKey materialA = 1;
inline constexpr MaterialKey materialB = 2;

inline PixelSample sample(float depth, int node = 1, int face = 0, std::uint8_t red = 0, float weight = 1.0f,
                          MaterialKey material = materialA)
{
    PixelSample s;
    s.color = {red, 0, 0, 255};
    s.depth = depth, s.nodeId = node, s.face = face, s.weight = weight, s.material = material;
    return s;
}

// The samples filed for pixel (x, y), head first.
inline std::vector<const PixelSample*> samplesAt(const SampleGrid& grid, int x, int y)
{
    std::vector<const PixelSample*> out;
    for (SampleGrid::Index i = grid.first(x, y); i != SampleGrid::none; i = grid.next(i))
        out.push_back(&grid.sample(i));
    return out;
}

}  // namespace test_support
