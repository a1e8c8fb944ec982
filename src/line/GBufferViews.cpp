#include "line/GBufferViews.h"

namespace vml {

namespace {

template <class T> GBufferView<T> viewOf(const Bitmap& bitmap, ULONG bit)
{
    const T* pixels = bitmap.Channel<T>(bit);
    if (!pixels)
        return {};
    return {pixels, bitmap.Width(), bitmap.Height()};
}

template <class T> bool fits(const GBufferView<T>& view, int width, int height)
{
    return view && view.width == width && view.height == height;
}

}  // namespace

GBufferViews makeGBufferViews(const Bitmap& bitmap)
{
    GBufferViews views;
    views.materialID = viewOf<std::uint8_t>(bitmap, BMM_CHAN_MTL_ID);
    views.node = viewOf<std::uint16_t>(bitmap, BMM_CHAN_NODE_RENDER_ID);
    views.z = viewOf<float>(bitmap, BMM_CHAN_Z);
    views.normal = viewOf<DWORD>(bitmap, BMM_CHAN_NORMAL);
    views.coverage = viewOf<std::uint8_t>(bitmap, BMM_CHAN_COVERAGE);
    views.velocity = viewOf<Point2>(bitmap, BMM_CHAN_VELOC);
    return views;
}

bool hasChannels(const GBufferViews& views, ULONG bits, int width, int height)
{
    constexpr ULONG viewed = BMM_CHAN_MTL_ID | BMM_CHAN_NODE_RENDER_ID | BMM_CHAN_Z | BMM_CHAN_NORMAL |
                             BMM_CHAN_COVERAGE | BMM_CHAN_VELOC;
    if (bits & ~viewed)
        return false;
    return (!(bits & BMM_CHAN_MTL_ID) || fits(views.materialID, width, height)) &&
           (!(bits & BMM_CHAN_NODE_RENDER_ID) || fits(views.node, width, height)) &&
           (!(bits & BMM_CHAN_Z) || fits(views.z, width, height)) &&
           (!(bits & BMM_CHAN_NORMAL) || fits(views.normal, width, height)) &&
           (!(bits & BMM_CHAN_COVERAGE) || fits(views.coverage, width, height)) &&
           (!(bits & BMM_CHAN_VELOC) || fits(views.velocity, width, height));
}

}  // namespace vml
