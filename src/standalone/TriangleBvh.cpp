#include "standalone/TriangleBvh.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace standalone {

namespace {

// Deeper nodes become leaves, so traversal never needs more than kStackSize entries.
constexpr int kMaxDepth = 56;
constexpr int kStackSize = 64;
constexpr std::uint32_t kLeafSize = 4;
constexpr int kBins = 16;

struct Box {
    Point3 lo{std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
              std::numeric_limits<float>::max()};
    Point3 hi{-std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
              -std::numeric_limits<float>::max()};

    void grow(const Point3& p)
    {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    void grow(const Box& b)
    {
        // An empty box (an empty bin) has inverted infinite bounds: merging them would make
        // every bound infinite and every split look infinitely costly.
        if (!b.valid())
            return;
        grow(b.lo);
        grow(b.hi);
    }
    bool valid() const { return lo.x <= hi.x; }
    float area() const
    {
        if (!valid())
            return 0.0f;
        const Point3 d = hi - lo;
        return 2.0f * (d.x * d.y + d.y * d.z + d.z * d.x);
    }
};

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// Zero-area or non-finite triangles can never block a ray reliably; they are dropped.
bool degenerate(const BvhTriangle& t)
{
    if (!finite(t.a) || !finite(t.b) || !finite(t.c))
        return true;
    const double e1[3] = {double(t.b.x) - t.a.x, double(t.b.y) - t.a.y, double(t.b.z) - t.a.z};
    const double e2[3] = {double(t.c.x) - t.a.x, double(t.c.y) - t.a.y, double(t.c.z) - t.a.z};
    const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                         e1[0] * e2[1] - e1[1] * e2[0]};
    const double n2 = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    const double l1 = e1[0] * e1[0] + e1[1] * e1[1] + e1[2] * e1[2];
    const double l2 = e2[0] * e2[0] + e2[1] * e2[1] + e2[2] * e2[2];
    // |e1 x e2| = |e1| |e2| sin(angle): drop when the sine is below 1e-12 (or an edge is zero).
    return !(n2 > 1e-24 * l1 * l2) || !std::isfinite(n2);
}

Box triangleBox(const BvhTriangle& t)
{
    Box b;
    b.grow(t.a);
    b.grow(t.b);
    b.grow(t.c);
    return b;
}

Point3 centroid(const BvhTriangle& t) { return (t.a + t.b + t.c) / 3.0f; }

// Möller–Trumbore in double precision with edges and vertices counted as inside, so a ray along
// an edge shared by two triangles is stopped by at least one of them.
bool hitsTriangle(const BvhTriangle& tri, const double o[3], const double d[3], double maxT)
{
    const double a[3] = {tri.a.x, tri.a.y, tri.a.z};
    const double e1[3] = {tri.b.x - a[0], tri.b.y - a[1], tri.b.z - a[2]};
    const double e2[3] = {tri.c.x - a[0], tri.c.y - a[1], tri.c.z - a[2]};
    const double p[3] = {d[1] * e2[2] - d[2] * e2[1], d[2] * e2[0] - d[0] * e2[2],
                         d[0] * e2[1] - d[1] * e2[0]};
    const double det = e1[0] * p[0] + e1[1] * p[1] + e1[2] * p[2];
    if (det == 0.0)
        return false;
    const double inv = 1.0 / det;
    const double s[3] = {o[0] - a[0], o[1] - a[1], o[2] - a[2]};
    constexpr double tol = 1e-9;
    const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) * inv;
    if (u < -tol || u > 1.0 + tol)
        return false;
    const double q[3] = {s[1] * e1[2] - s[2] * e1[1], s[2] * e1[0] - s[0] * e1[2],
                         s[0] * e1[1] - s[1] * e1[0]};
    const double v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * inv;
    if (v < -tol || u + v > 1.0 + tol)
        return false;
    const double t = (e2[0] * q[0] + e2[1] * q[1] + e2[2] * q[2]) * inv;
    return t > 0.0 && t < maxT;
}

struct Ray {
    Point3 origin;
    Point3 invDir;
    bool zero[3];  // direction component is exactly zero: the slab is a pure inside test
    float maxT;
};

// Slab test. The interval ends are widened by far more than their rounding error, so a ray that
// grazes a box face is never rejected here when the exact triangle test would accept it.
bool hitsBox(const Point3& lo, const Point3& hi, const Ray& r)
{
    float tNear = 0.0f, tFar = r.maxT;
    for (int axis = 0; axis < 3; ++axis) {
        if (r.zero[axis]) {
            if (r.origin[axis] < lo[axis] || r.origin[axis] > hi[axis])
                return false;
            continue;
        }
        float t0 = (lo[axis] - r.origin[axis]) * r.invDir[axis];
        float t1 = (hi[axis] - r.origin[axis]) * r.invDir[axis];
        if (t0 > t1)
            std::swap(t0, t1);
        tNear = std::max(tNear, t0);
        tFar = std::min(tFar, t1);
    }
    constexpr float slack = 1e-5f;
    return tNear * (1.0f - slack) <= tFar * (1.0f + slack);
}

}  // namespace

void TriangleBvh::build(std::vector<BvhTriangle> triangles)
{
    std::erase_if(triangles, degenerate);
    triangles_ = std::move(triangles);
    nodes_.clear();
    if (triangles_.empty())
        return;

    const std::size_t n = triangles_.size();
    std::vector<Box> boxes(n);
    std::vector<Point3> centres(n);
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) {
        boxes[i] = triangleBox(triangles_[i]);
        centres[i] = centroid(triangles_[i]);
        order[i] = static_cast<std::uint32_t>(i);
    }

    struct Task {
        std::uint32_t first, count;
        int depth;
        std::int64_t parent;  // node whose right child this is, -1 for the root and left children
    };
    std::vector<Task> tasks{{0, static_cast<std::uint32_t>(n), 0, -1}};
    nodes_.reserve(2 * n / kLeafSize + 1);

    // Depth-first: a node's left child is the next node, the right child's index is stored.
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        const auto index = static_cast<std::uint32_t>(nodes_.size());
        if (task.parent >= 0)
            nodes_[static_cast<std::size_t>(task.parent)].first = index;

        Box bounds, centreBounds;
        for (std::uint32_t i = task.first; i < task.first + task.count; ++i) {
            bounds.grow(boxes[order[i]]);
            centreBounds.grow(centres[order[i]]);
        }
        Node node;
        node.lo = bounds.lo;
        node.hi = bounds.hi;

        // Binned surface-area heuristic over the widest centroid axis.
        const Point3 extent = centreBounds.hi - centreBounds.lo;
        int axis = 0;
        if (extent.y > extent[axis])
            axis = 1;
        if (extent.z > extent[axis])
            axis = 2;
        const bool splittable = task.count > kLeafSize && task.depth < kMaxDepth && extent[axis] > 0.0f;
        std::uint32_t mid = 0;
        if (splittable) {
            std::array<Box, kBins> binBoxes;
            std::array<std::uint32_t, kBins> binCounts{};
            const float scale = kBins / extent[axis];
            auto binOf = [&](std::uint32_t tri) {
                const int b = static_cast<int>((centres[tri][axis] - centreBounds.lo[axis]) * scale);
                return std::clamp(b, 0, kBins - 1);
            };
            for (std::uint32_t i = task.first; i < task.first + task.count; ++i) {
                const int b = binOf(order[i]);
                binBoxes[static_cast<std::size_t>(b)].grow(boxes[order[i]]);
                ++binCounts[static_cast<std::size_t>(b)];
            }
            std::array<float, kBins> rightCost{};
            Box acc;
            std::uint32_t accCount = 0;
            for (int b = kBins - 1; b > 0; --b) {
                acc.grow(binBoxes[static_cast<std::size_t>(b)]);
                accCount += binCounts[static_cast<std::size_t>(b)];
                rightCost[static_cast<std::size_t>(b)] = acc.area() * static_cast<float>(accCount);
            }
            float bestCost = std::numeric_limits<float>::max();
            int bestSplit = -1;
            acc = Box{};
            accCount = 0;
            for (int b = 0; b < kBins - 1; ++b) {
                acc.grow(binBoxes[static_cast<std::size_t>(b)]);
                accCount += binCounts[static_cast<std::size_t>(b)];
                if (accCount == 0 || accCount == task.count)
                    continue;
                const float cost =
                    acc.area() * static_cast<float>(accCount) + rightCost[static_cast<std::size_t>(b + 1)];
                if (cost < bestCost)
                    bestCost = cost, bestSplit = b;
            }
            if (bestSplit >= 0) {
                auto* begin = order.data() + task.first;
                auto* split = std::partition(begin, begin + task.count,
                                             [&](std::uint32_t tri) { return binOf(tri) <= bestSplit; });
                mid = static_cast<std::uint32_t>(split - order.data());
            }
        }

        if (mid <= task.first || mid >= task.first + task.count) {
            node.first = task.first;
            node.count = task.count;
            nodes_.push_back(node);
            continue;
        }
        nodes_.push_back(node);
        tasks.push_back({mid, task.first + task.count - mid, task.depth + 1, index});
        tasks.push_back({task.first, mid - task.first, task.depth + 1, -1});
    }

    std::vector<BvhTriangle> sorted;
    sorted.reserve(n);
    for (std::uint32_t i : order)
        sorted.push_back(triangles_[i]);
    triangles_ = std::move(sorted);
}

bool TriangleBvh::occluded(const Point3& origin, const Point3& dir, float maxDistance) const
{
    if (nodes_.empty() || !(maxDistance > 0.0f) || !finite(origin) || !finite(dir) || dir == Point3())
        return false;

    Ray ray;
    ray.origin = origin;
    ray.maxT = maxDistance;
    for (int axis = 0; axis < 3; ++axis) {
        ray.zero[axis] = dir[axis] == 0.0f;
        ray.invDir[axis] = ray.zero[axis] ? 0.0f : 1.0f / dir[axis];
    }
    const double o[3] = {origin.x, origin.y, origin.z};
    const double d[3] = {dir.x, dir.y, dir.z};
    const double maxT = maxDistance;

    std::array<std::uint32_t, kStackSize> stack;
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = nodes_[stack[--top]];
        if (!hitsBox(node.lo, node.hi, ray))
            continue;
        if (node.count > 0) {
            for (std::uint32_t i = node.first; i < node.first + node.count; ++i)
                if (hitsTriangle(triangles_[i], o, d, maxT))
                    return true;
            continue;
        }
        const auto self = static_cast<std::uint32_t>(&node - nodes_.data());
        stack[top++] = node.first;
        stack[top++] = self + 1;
    }
    return false;
}

std::uint32_t TriangleBvh::largestLeaf() const
{
    std::uint32_t largest = 0;
    for (const Node& n : nodes_)
        largest = std::max(largest, n.count);
    return largest;
}

}  // namespace standalone
