#include "renderer/VmlRenderContext.h"

#include "host/RenderGlobalContext.h"

namespace vml {

VmlRenderContext::VmlRenderContext()
{
    nLights = 0;
    shadow = FALSE;
    ambientLight = Color(1.0f, 1.0f, 1.0f);
    normal_ = -view_;
}

void VmlRenderContext::setFrame(RenderGlobalContext* gc, TimeValue t)
{
    globContext = gc;
    time_ = t;
}

void VmlRenderContext::setScreenMapping(const ScreenMapping& mapping, IPoint2 origin)
{
    mapping_ = mapping;
    origin_ = origin;
}

void VmlRenderContext::placeAtPixel(int x, int y)
{
    pixel_ = {x + origin_.x, y + origin_.y};
    screenUV_ = mapping_.screenUV(x, y);
    view_ = {0.0f, 0.0f, -1.0f};
    point_ = view_ * pointDistance;
    const RenderGlobalContext* gc = globContext;
    if (gc && gc->xscale != 0.0f && gc->yscale != 0.0f) {
        const float dx = (gc->xc - 0.5f - static_cast<float>(pixel_.x)) / gc->xscale;
        const float dy = (gc->yc - 0.5f - static_cast<float>(pixel_.y)) / gc->yscale;
        if (gc->projType == PROJ_PERSPECTIVE) {
            view_ = Normalize(Point3{dx, dy, -1.0f});
            point_ = view_ * pointDistance;
        } else {
            // Parallel rays all look down -z; the point lies on the pixel's own ray.
            point_ = Point3{-dx, -dy, -pointDistance};
        }
    }
    normal_ = -view_;
}

void VmlRenderContext::setTextureCoords(const Point3& uvw, const Point3& duvw)
{
    uvw_ = uvw;
    duvw_ = duvw;
}

Matrix3 VmlRenderContext::camToWorld() const { return globContext ? globContext->camToWorld : Matrix3(); }
Matrix3 VmlRenderContext::worldToCam() const { return globContext ? globContext->worldToCam : Matrix3(); }

Point3 VmlRenderContext::worldPoint() const { return camToWorld().PointTransform(point_); }

BOOL VmlRenderContext::InMtlEditor() { return globContext ? globContext->inMtlEdit : FALSE; }
int VmlRenderContext::Antialias() { return globContext ? globContext->antialias : FALSE; }
int VmlRenderContext::ProjType() { return globContext ? globContext->projType : PROJ_PERSPECTIVE; }

LightDesc* VmlRenderContext::Light(int n)
{
    (void)n;
    return nullptr;
}

Point3 VmlRenderContext::BarycentricCoords() { return {1.0f / 3.0f, 1.0f / 3.0f, 1.0f / 3.0f}; }

Point3 VmlRenderContext::ReflectVector() { return view_ - normal_ * (2.0f * DotProd(normal_, view_)); }

Point3 VmlRenderContext::PointTo(const Point3& p, int toSpace)
{
    return toSpace == REF_WORLD ? camToWorld().PointTransform(p) : p;
}

Point3 VmlRenderContext::PointFrom(const Point3& p, int fromSpace)
{
    return fromSpace == REF_WORLD ? worldToCam().PointTransform(p) : p;
}

Point3 VmlRenderContext::VectorTo(const Point3& v, int toSpace)
{
    return toSpace == REF_WORLD ? camToWorld().VectorTransform(v) : v;
}

Point3 VmlRenderContext::VectorFrom(const Point3& v, int fromSpace)
{
    return fromSpace == REF_WORLD ? worldToCam().VectorTransform(v) : v;
}

Point2 VmlRenderContext::SurfacePtScreen()
{
    return {static_cast<float>(pixel_.x) + 0.5f, static_cast<float>(pixel_.y) + 0.5f};
}

void VmlRenderContext::ScreenUV(Point2& uv, Point2& duv)
{
    uv = screenUV_;
    duv = mapping_.scale;
}

Point3 VmlRenderContext::UVW(int channel)
{
    (void)channel;
    return uvw_;
}

Point3 VmlRenderContext::DUVW(int channel)
{
    (void)channel;
    return duvw_;
}

void VmlRenderContext::DPdUVW(Point3 dP[3], int channel)
{
    (void)channel;
    dP[0] = dP[1] = dP[2] = Point3{};
}

void VmlRenderContext::GetBGColor(Color& bgcol, Color& transp, BOOL fogBG)
{
    (void)fogBG;
    bgcol = Color();
    transp = Color();
}

}  // namespace vml
