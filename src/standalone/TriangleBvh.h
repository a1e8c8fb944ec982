#pragma once
// A bounding-volume hierarchy over a set of triangles, for shadow rays. Built once per frame in
// camera space.

#include "host/Point3.h"

#include <cstdint>
#include <vector>

namespace standalone {

struct BvhTriangle {
    Point3 a, b, c;
    std::uint32_t nodeId = 0;  // render node id, for callers that skip their own object
};

class TriangleBvh {
public:
    void build(std::vector<BvhTriangle> triangles);
    bool empty() const { return triangles_.empty(); }
    // True when the segment origin + s * dir, s in (0, maxDistance), hits any triangle.
    // dir need not be unit length; distances are in units of |dir|.
    bool occluded(const Point3& origin, const Point3& dir, float maxDistance) const;

    // Triangles in the largest leaf: a well-built tree keeps it small however the triangle sizes
    // mix, which is what keeps shadow rays cheap.
    std::uint32_t largestLeaf() const;

private:
    struct Node {
        Point3 lo, hi;
        std::uint32_t first = 0;  // leaf: first triangle; inner: index of the right child
        std::uint32_t count = 0;  // leaf: triangle count; inner: 0
    };
    std::vector<BvhTriangle> triangles_;
    std::vector<Node> nodes_;
};

}  // namespace standalone
