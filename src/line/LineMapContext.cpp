#include "line/LineMapContext.h"

#include "host/RenderGlobalContext.h"

namespace vml {

LineMapContext::LineMapContext(RenderGlobalContext* gc, TimeValue t, int width, int height)
    : time_(t), duv_(1.0f / static_cast<float>(width > 0 ? width : 1),
                     1.0f / static_cast<float>(height > 0 ? height : 1))
{
    globContext = gc;
    doMaps = TRUE;
    filterMaps = FALSE;
}

void LineMapContext::moveTo(int x, int y, float u, float v)
{
    pixel_ = IPoint2{x, y};
    screen_ = Point2(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f);
    uv_ = Point2(u, v);
    out.Reset();
}

int LineMapContext::ProjType() { return globContext ? globContext->projType : PROJ_PERSPECTIVE; }

void LineMapContext::ScreenUV(Point2& uv, Point2& duv)
{
    uv = uv_;
    duv = duv_;
}

void LineMapContext::GetBGColor(Color& bgcol, Color& transp, BOOL)
{
    // The map is evaluated over the finished image; there is no background behind it.
    bgcol = Color();
    transp = Color(1.0f, 1.0f, 1.0f);
}

}  // namespace vml
