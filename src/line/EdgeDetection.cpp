#include "line/EdgeDetection.h"

#include "host/GBufferChannels.h"
#include "host/NormalCompression.h"
#include "line/LineBands.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace vml {

namespace {

struct Offset {
    int dx, dy;
};

constexpr Offset neighbours[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// Calls qualifies(nx, ny) for each in-image neighbour in order; true at the first that does.
template <class T, class F> bool anyNeighbour(const GBufferView<T>& image, int x, int y, F qualifies)
{
    for (const Offset& o : neighbours) {
        const int nx = x + o.dx, ny = y + o.dy;
        if (image.contains(nx, ny) && qualifies(nx, ny))
            return true;
    }
    return false;
}

bool isBackground(std::uint16_t node) { return node == BMM_BACKGROUND_NODE_RENDER_ID; }

// Normals decompressed where they are read.
struct PackedNormals {
    const GBufferView<DWORD>& normal;
    Point3 operator()(int x, int y) const { return DeCompressNormal(normal.at(x, y)); }
};

// Normals of rows [y0, y1) of a band and its halo, each decompressed once, when first read (flat
// pairs read none); each is read by up to five pixels' tests.
struct BandNormals {
    std::vector<Point3>& store;
    std::vector<std::uint8_t>& read;  // 1 once the normal is in `store`
    const GBufferView<DWORD>* normal = nullptr;
    int firstRow = 0;

    void cover(const GBufferView<DWORD>& view, int y0, int y1)
    {
        normal = &view;
        firstRow = y0;
        const std::size_t count = static_cast<std::size_t>(y1 - y0) * view.width;
        if (store.size() < count)
            store.resize(count);
        read.assign(count, 0);
    }
    Point3 operator()(int x, int y)
    {
        const std::size_t i = static_cast<std::size_t>(y - firstRow) * normal->width + x;
        if (!read[i]) {
            store[i] = DeCompressNormal(normal->at(x, y));
            read[i] = 1;
        }
        return store[i];
    }
};

// Whether BaryCoords(0, nA, nB, nC) has y <= z, with its arithmetic. Dividing by nn > 0 keeps
// the order, so the quotients are needed only when the numerators say no (they may round equal).
bool baryNearerA(const Point3& nA, const Point3& nB, const Point3& nC)
{
    const Point3 n = CrossProd(nA, nB);
    const float nn = DotProd(n, n);
    if (!(nn > 0.0f))
        return true;  // degenerate: thirds
    const float b1 = DotProd(CrossProd(nC, nB), n), b2 = DotProd(CrossProd(nA, nC), n);
    return b1 <= b2 || b1 / nn <= b2 / nn;
}

// One neighbour pair of the normal test, A at (x - 1, y) and B at (x + 1, y) when `horizontal`,
// else A above and B below: 1 = the pixel qualifies, 0 = the pair is unused or fails (try the
// next), -1 = the depth gap is too wide and the pixel does not qualify at all. Only the normals'
// component along the pair weighs (the other's weight is 0, so leaving it out changes no bit).
template <bool horizontal, class Normals>
int normalPair(const EdgeRules& rules, const GBufferViews& views, Normals& normals, int x, int y)
{
    constexpr int dx = horizontal ? -1 : 0, dy = horizontal ? 0 : -1;
    const int ax = x + dx, ay = y + dy, bx = x - dx, by = y - dy;
    if (!views.node.contains(ax, ay) || !views.node.contains(bx, by))
        return 0;
    const std::uint16_t nodeC = views.node.at(x, y);
    if (views.node.at(ax, ay) != nodeC || views.node.at(bx, by) != nodeC)
        return 0;

    const float zC = views.z.at(x, y), zA = views.z.at(ax, ay), zB = views.z.at(bx, by);
    const DWORD packedC = views.normal.at(x, y);
    if (views.normal.at(ax, ay) == packedC && views.normal.at(bx, by) == packedC) {
        // A flat pair (planes are flat in camera space): not convex, the barycentric thirds pick
        // A, and the turn f is exactly 0, as the general steps below work out.
        if (zA > zC)
            return 0;
        if (std::fabs(zC - zA) >= rules.normalDepth)
            return -1;
        return rules.normalMin <= 0.0f && 0.0f <= rules.normalMax ? 1 : 0;
    }
    const Point3 nC = normals(x, y);
    const Point3 nA = normals(ax, ay);
    const Point3 nB = normals(bx, by);
    const float a = horizontal ? nA.x : nA.y, b = horizontal ? nB.x : nB.y, c = horizontal ? nC.x : nC.y;

    // Convex: the component falls from A to B across a row, rises from A to B down a column.
    bool convex = horizontal ? b - a < 0.0f : b - a > 0.0f;
    bool fullCover = true;
    if (convex && (views.coverage.at(x, y) != 255 || views.coverage.at(ax, ay) != 255 ||
                   views.coverage.at(bx, by) != 255)) {
        convex = false;
        fullCover = false;
    }

    const float zO = baryNearerA(nA, nB, nC) ? zA : zB;
    const bool front = zO > zC;
    if (front != convex)
        return 0;
    if (std::fabs(zC - zO) >= rules.normalDepth)
        return -1;

    float curv = std::fabs(a + b - 2.0f * c) * 0.5f;
    const float dA = std::fabs(a - c);
    const float dB = std::fabs(b - c);
    if (dA != 0.0f || dB != 0.0f) {
        float r = dB <= dA ? dB / dA : dA / dB;
        const float s = dA + dB;
        if (s < 1.0f)
            r *= s;
        curv = (1.0f - r) * curv + r * 0.5f * s;
    }
    const float w = a * b < 0.0f && convex ? 0.5f : 0.0f;
    float f = std::fabs(a - b) * w * 0.5f + (1.0f - w) * curv;
    if (!fullCover)
        f = 1.0f - (1.0f - rules.normalMin * 0.25f * 0.01f) * (1.0f - f);
    f = std::min(f, 1.0f);

    const float percent = f * 100.0f;
    return rules.normalMin <= percent && percent <= rules.normalMax ? 1 : 0;
}

bool outlineObjectAt(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    const std::uint16_t nodeC = views.node.at(x, y);
    const float zC = views.z.at(x, y);
    return anyNeighbour(views.node, x, y, [&](int nx, int ny) {
        const std::uint16_t nodeN = views.node.at(nx, ny);
        return nodeN != nodeC &&
               (isBackground(nodeN) || rules.outlineObjectThreshold > views.z.at(nx, ny) - zC);
    });
}

bool outlineMaterialAt(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    const std::uint16_t nodeC = views.node.at(x, y);
    const std::uint8_t materialC = views.materialID.at(x, y);
    const float zC = views.z.at(x, y);
    return anyNeighbour(views.node, x, y, [&](int nx, int ny) {
        const std::uint16_t nodeN = views.node.at(nx, ny);
        return views.materialID.at(nx, ny) != materialC && nodeN != nodeC &&
               (isBackground(nodeN) || rules.outlineMaterialThreshold > views.z.at(nx, ny) - zC);
    });
}

bool edgeMaterialAt(const GBufferViews& views, int x, int y)
{
    const std::uint16_t nodeC = views.node.at(x, y);
    const std::uint8_t materialC = views.materialID.at(x, y);
    return anyNeighbour(views.node, x, y, [&](int nx, int ny) {
        return views.materialID.at(nx, ny) != materialC && views.node.at(nx, ny) == nodeC;
    });
}

bool edgeDepthAt(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    const float zC = views.z.at(x, y);
    return anyNeighbour(views.z, x, y,
                        [&](int nx, int ny) { return zC - views.z.at(nx, ny) > rules.edgeDepthThreshold; });
}

template <class Normals>
bool normalAt(const EdgeRules& rules, const GBufferViews& views, Normals&& normals, int x, int y)
{
    int result = normalPair<true>(rules, views, normals, x, y);
    if (result == 0)
        result = normalPair<false>(rules, views, normals, x, y);
    return result > 0;
}

bool fitsMask(const GBufferViews& views, const EdgeMask& mask)
{
    return mask.pixels && views.materialID && mask.width == views.materialID.width &&
           mask.height == views.materialID.height;
}

}  // namespace

bool testOutlineObject(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    return outlineObjectAt(rules, views, x, y);
}

bool testOutlineMaterial(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    return outlineMaterialAt(rules, views, x, y);
}

bool testEdgeMaterial(const EdgeRules&, const GBufferViews& views, int x, int y)
{
    return edgeMaterialAt(views, x, y);
}

bool testEdgeDepth(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    return edgeDepthAt(rules, views, x, y);
}

bool testNormal(const EdgeRules& rules, const GBufferViews& views, int x, int y)
{
    return normalAt(rules, views, PackedNormals{views.normal}, x, y);
}

ULONG edgeChannelsRequired(const EdgeRules& rules)
{
    ULONG bits = BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NORMAL;
    if (rules.outlineObject || rules.outlineMaterial || rules.edgeMaterial)
        bits |= BMM_CHAN_NODE_RENDER_ID;
    if (rules.normal)
        bits |= BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_COVERAGE;
    return bits;
}

void scanEdges(EdgeTest edgeTest, const EdgeRules& rules, const GBufferViews& views, EdgeMask mask)
{
    if (!edgeTest || !fitsMask(views, mask))
        return;
    forEachLineBand(mask.height, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* material = &views.materialID.at(0, y);
            std::uint8_t* out = mask.pixels + static_cast<std::size_t>(y) * mask.width;
            for (int x = 0; x < mask.width; ++x)
                if (material[x] == rules.lineMatID && edgeTest(rules, views, x, y))
                    out[x] = 1;
        }
    });
}

bool detectEdges(const EdgeRules& rules, const GBufferViews& views, EdgeMask mask, ULONG otherRequired)
{
    if (!hasChannels(views, edgeChannelsRequired(rules) | otherRequired, views.materialID.width,
                     views.materialID.height))
        return false;
    if (!fitsMask(views, mask) || !(rules.outlineObject || rules.outlineMaterial || rules.edgeMaterial ||
                                    rules.edgeDepth || rules.normal))
        return true;
    // The mask receives the union of the switches' tests, so one scan tries them all per pixel.
    const bool outlines = rules.outlineObject || rules.outlineMaterial;
    forEachLineBand(mask.height, [&](int y0, int y1) {
        thread_local std::vector<Point3> normalStore;
        thread_local std::vector<std::uint8_t> normalRead;
        BandNormals normals{normalStore, normalRead};
        if (rules.normal)
            normals.cover(views.normal, std::max(y0 - 1, 0), std::min(y1 + 1, mask.height));
        for (int y = y0; y < y1; ++y) {
            const std::uint8_t* material = &views.materialID.at(0, y);
            std::uint8_t* out = mask.pixels + static_cast<std::size_t>(y) * mask.width;
            const bool inner = y > 0 && y < mask.height - 1;
            const std::uint16_t* node = outlines ? &views.node.at(0, y) : nullptr;
            for (int x = 0; x < mask.width; ++x) {
                if (material[x] != rules.lineMatID || out[x])
                    continue;
                // Outlines need a neighbour of another object; inside an object there is none.
                const bool oneObject = outlines && inner && x > 0 && x < mask.width - 1 &&
                                       node[x - 1] == node[x] && node[x + 1] == node[x] &&
                                       node[x - mask.width] == node[x] && node[x + mask.width] == node[x];
                if ((rules.outlineObject && !oneObject && outlineObjectAt(rules, views, x, y)) ||
                    (rules.outlineMaterial && !oneObject && outlineMaterialAt(rules, views, x, y)) ||
                    (rules.edgeMaterial && edgeMaterialAt(views, x, y)) ||
                    (rules.edgeDepth && edgeDepthAt(rules, views, x, y)) ||
                    (rules.normal && normalAt(rules, views, normals, x, y)))
                    out[x] = 1;
            }
        }
    });
    return true;
}

}  // namespace vml
