#include "standalone/scanline/ScanlineShadeContext.h"

#include "host/BaryCoords.h"
#include "host/Texmap.h"

#include <cmath>

namespace standalone::scanline {

namespace {

Point3 absolute(const Point3& p) { return Point3(std::abs(p.x), std::abs(p.y), std::abs(p.z)); }

}  // namespace

ScanlineShadeContext::ScanlineShadeContext(const ShadingFrame& frame) : frame_(frame)
{
    globContext = frame.globalContext;
}

void ScanlineShadeContext::resetSample(int x, int y, const Point2& subPixel)
{
    mode = SCMODE_NORMAL;
    doMaps = filterMaps = shadow = TRUE;
    rayLevel = 0;
    xshadeID = 0;
    atmosSkipLight = nullptr;
    globContext = frame_.globalContext;
    ambientLight = frame_.ambient;
    pixel_ = {x, y};
    subPixel_ = subPixel;
    screen_ = Point2(static_cast<float>(x) + subPixel.x, static_cast<float>(y) + subPixel.y);
    derivativesReady_ = false;
    ResetOutput();
}

void ScanlineShadeContext::beginFragment(int x, int y, const Fragment& f)
{
    resetSample(x, y, maskCentroid(f.mask));
    poly_ = &(*frame_.polygons)[f.polygon];
    inst_ = (*frame_.instances)[poly_->instance];
    face_ = static_cast<int>(poly_->face);
    const Mesh& mesh = inst_->objectMesh();
    const Face& face = mesh.faces[poly_->face];
    backFace = poly_->backFace ? TRUE : FALSE;
    mtlNum = face.mtlID;
    nLights = inst_->NumLights();
    bary_ = f.bary;
    p_ = poly_->tri[0] * bary_.x + poly_->tri[1] * bary_.y + poly_->tri[2] * bary_.z;
    view_ = frame_.view->projType == PROJ_PERSPECTIVE ? Normalize(p_) : Point3(0.0f, 0.0f, -1.0f);

    gNormal_ = Normalize(poly_->normal);
    Point3 n = gNormal_;
    if (mesh.hasNormals()) {
        const TVFace& nf = mesh.normalFaces[poly_->face];
        Point3 sum;
        for (int k = 0; k < 3; ++k)
            sum += inst_->normalObjToCam.VectorTransform(mesh.normals[nf.t[k]]) * bary_[k];
        Point3 interpolated = Normalize(sum);
        if (interpolated.LengthSquared() > 0.0f)
            n = interpolated;
    }
    if (poly_->backFace)
        n = -n, gNormal_ = -gNormal_;
    normal_ = origNormal_ = n;
    uvw_ = uvwAt(bary_);
}

void ScanlineShadeContext::beginBackground(int x, int y)
{
    resetSample(x, y, Point2(0.5f, 0.5f));
    poly_ = nullptr;
    inst_ = nullptr;
    face_ = 0;
    backFace = FALSE;
    mtlNum = 0;
    nLights = static_cast<int>(frame_.lights->size());
    bary_ = Point3();
    view_ = frame_.view->viewDirection(screen_);
    Point3 origin, dir;
    frame_.view->ray(screen_, origin, dir);
    p_ = origin + dir * frame_.view->farRange;
    normal_ = origNormal_ = gNormal_ = -view_;
    uvw_ = Point3();
}

Mtl* ScanlineShadeContext::material() const { return inst_ && inst_->mtl ? inst_->mtl : frame_.defaultMtl; }

LightDesc* ScanlineShadeContext::Light(int n)
{
    if (inst_)
        return inst_->Light(n);
    return n >= 0 && n < static_cast<int>(frame_.lights->size())
               ? (*frame_.lights)[static_cast<std::size_t>(n)]
               : nullptr;
}

Point3 ScanlineShadeContext::ReflectVector()
{
    return Normalize(view_ - normal_ * (2.0f * DotProd(normal_, view_)));
}

Point3 ScanlineShadeContext::uvwAt(const Point3& bary) const
{
    if (!inst_ || !inst_->objectMesh().hasUVs())
        return Point3();
    const Mesh& mesh = inst_->objectMesh();
    const TVFace& tf = mesh.tvFace[poly_->face];
    return mesh.tVerts[tf.t[0]] * bary.x + mesh.tVerts[tf.t[1]] * bary.y + mesh.tVerts[tf.t[2]] * bary.z;
}

void ScanlineShadeContext::computeDerivatives()
{
    derivativesReady_ = true;
    dPdx_ = dPdy_ = dUVWdx_ = dUVWdy_ = Point3();
    if (!poly_)
        return;
    const ScanlineView& v = *frame_.view;
    Point3 px = poly_->surfacePoint(v, screen_ + Point2(1.0f, 0.0f));
    Point3 py = poly_->surfacePoint(v, screen_ + Point2(0.0f, 1.0f));
    dPdx_ = px - p_, dPdy_ = py - p_;
    const auto& t = poly_->tri;
    dUVWdx_ = uvwAt(BaryCoords(t[0], t[1], t[2], px)) - uvw_;
    dUVWdy_ = uvwAt(BaryCoords(t[0], t[1], t[2], py)) - uvw_;
}

Point3 ScanlineShadeContext::DP()
{
    if (!derivativesReady_)
        computeDerivatives();
    return absolute(dPdx_) + absolute(dPdy_);
}

Point3 ScanlineShadeContext::DUVW(int channel)
{
    if (channel != 1)
        return Point3();
    if (!derivativesReady_)
        computeDerivatives();
    return absolute(dUVWdx_) + absolute(dUVWdy_);
}

void ScanlineShadeContext::DPdUVW(Point3 dP[3], int channel)
{
    dP[0] = dP[1] = dP[2] = Point3();
    if (channel != 1 || !inst_ || !inst_->objectMesh().hasUVs())
        return;
    const Mesh& mesh = inst_->objectMesh();
    const TVFace& tf = mesh.tvFace[poly_->face];
    const Point3 &uv0 = mesh.tVerts[tf.t[0]], &uv1 = mesh.tVerts[tf.t[1]], &uv2 = mesh.tVerts[tf.t[2]];
    const auto& t = poly_->tri;
    Point3 e1 = t[1] - t[0], e2 = t[2] - t[0];
    float du1 = uv1.x - uv0.x, dv1 = uv1.y - uv0.y, du2 = uv2.x - uv0.x, dv2 = uv2.y - uv0.y;
    float det = du1 * dv2 - du2 * dv1;
    if (std::abs(det) < 1.0e-20f)
        return;
    dP[0] = (e1 * dv2 - e2 * dv1) / det;
    dP[1] = (e2 * du1 - e1 * du2) / det;
}

Point3 ScanlineShadeContext::PObj() { return inst_ ? inst_->camToObj.PointTransform(p_) : p_; }

Point3 ScanlineShadeContext::PointTo(const Point3& p, int toSpace)
{
    switch (toSpace) {
    case REF_WORLD: return frame_.view->camToWorld.PointTransform(p);
    case REF_OBJECT: return inst_ ? inst_->camToObj.PointTransform(p) : p;
    default: return p;
    }
}

Point3 ScanlineShadeContext::PointFrom(const Point3& p, int fromSpace)
{
    switch (fromSpace) {
    case REF_WORLD: return frame_.view->worldToCam.PointTransform(p);
    case REF_OBJECT: return inst_ ? inst_->objToCam.PointTransform(p) : p;
    default: return p;
    }
}

Point3 ScanlineShadeContext::VectorTo(const Point3& v, int toSpace)
{
    switch (toSpace) {
    case REF_WORLD: return frame_.view->camToWorld.VectorTransform(v);
    case REF_OBJECT: return inst_ ? inst_->camToObj.VectorTransform(v) : v;
    default: return v;
    }
}

Point3 ScanlineShadeContext::VectorFrom(const Point3& v, int fromSpace)
{
    switch (fromSpace) {
    case REF_WORLD: return frame_.view->worldToCam.VectorTransform(v);
    case REF_OBJECT: return inst_ ? inst_->objToCam.VectorTransform(v) : v;
    default: return v;
    }
}

void ScanlineShadeContext::ScreenUV(Point2& uv, Point2& duv)
{
    float w = static_cast<float>(frame_.view->width), h = static_cast<float>(frame_.view->height);
    uv = Point2(screen_.x / w, 1.0f - screen_.y / h);
    duv = Point2(1.0f / w, 1.0f / h);
}

void ScanlineShadeContext::GetBGColor(Color& bgcol, Color& transp, BOOL fogBG)
{
    (void)fogBG;  // the standalone host has no atmosphere
    transp = Color();
    if (frame_.envMap)
        bgcol = Color(frame_.envMap->EvalColor(*this));
    else
        bgcol = frame_.background;
}

}  // namespace standalone::scanline
