#pragma once
// A small host bitmap with G-buffer channels for detection tests. Pixels start as background
// (node 0xFFFF, Z -1e30, material 0); coverage starts full.

#include "host/Bitmap.h"
#include "host/NormalCompression.h"
#include "line/EdgeDetection.h"
#include "line/GBufferViews.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace test_support {

// Helpers over the system's own types, which they name as the system does.
using namespace vml;

constexpr ULONG allEdgeChannels =
    BMM_CHAN_Z | BMM_CHAN_MTL_ID | BMM_CHAN_NORMAL | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_COVERAGE;

class GBufferImage {
public:
    GBufferImage(int width, int height, ULONG channels = allEdgeChannels) : bitmap(width, height)
    {
        bitmap.CreateChannels(channels);
        if (auto* coverage = bitmap.Channel<std::uint8_t>(BMM_CHAN_COVERAGE))
            std::fill_n(coverage, width * height, std::uint8_t{255});
        const DWORD facing = CompressNormal(Point3(0.0f, 0.0f, 1.0f));
        if (auto* normal = bitmap.Channel<DWORD>(BMM_CHAN_NORMAL))
            std::fill_n(normal, width * height, facing);
    }

    // A surface pixel: object, material-effects channel and depth.
    void surface(int x, int y, std::uint16_t node, std::uint8_t material, float z)
    {
        put<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID, x, y, node);
        put<std::uint8_t>(BMM_CHAN_MTL_ID, x, y, material);
        put<float>(BMM_CHAN_Z, x, y, z);
    }
    void normal(int x, int y, const Point3& n) { put<DWORD>(BMM_CHAN_NORMAL, x, y, CompressNormal(n)); }
    void coverage(int x, int y, std::uint8_t c) { put<std::uint8_t>(BMM_CHAN_COVERAGE, x, y, c); }

    GBufferViews views() const { return makeGBufferViews(bitmap); }

    // Runs detectEdges into a fresh mask; rows as strings, '1' = marked, '.' = not.
    std::vector<std::string> detect(const EdgeRules& rules, ULONG otherRequired = 0, bool* ok = nullptr) const
    {
        std::vector<std::uint8_t> pixels(static_cast<std::size_t>(bitmap.Width()) * bitmap.Height(), 0);
        const bool result = detectEdges(
            rules, views(), EdgeMask{pixels.data(), bitmap.Width(), bitmap.Height()}, otherRequired);
        if (ok)
            *ok = result;
        return rows(pixels);
    }

    std::vector<std::string> rows(const std::vector<std::uint8_t>& pixels) const
    {
        std::vector<std::string> out;
        for (int y = 0; y < bitmap.Height(); ++y) {
            std::string row;
            for (int x = 0; x < bitmap.Width(); ++x)
                row += pixels[static_cast<std::size_t>(y) * bitmap.Width() + x] ? '1' : '.';
            out.push_back(row);
        }
        return out;
    }

    Bitmap bitmap;

private:
    // Channels the image was made without are left out.
    template <class T> void put(ULONG bit, int x, int y, T value)
    {
        if (T* pixels = bitmap.Channel<T>(bit))
            pixels[static_cast<std::size_t>(y) * bitmap.Width() + x] = value;
    }
};

}  // namespace test_support
