#pragma once
// Helpers for the renderer's per-frame store tests: counting arena hooks, a stroke record, and
// scene faces given by hand.

#include "renderer/ArenaHooks.h"
#include "renderer/SceneFaces.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/vmlStrokeRecord.h"

#include <cstdint>
#include <map>
#include <new>
#include <utility>

namespace vml::test {

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

}  // namespace vml::test
