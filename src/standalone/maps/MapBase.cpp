#include "standalone/maps/MapBase.h"

#include "host/IParamBlock2.h"
#include "host/ShadeContext.h"
#include "standalone/maps/SurfaceOffsetContext.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace standalone {

namespace {

float monoAt(Texmap& map, ShadeContext& sc, const Point3& dP, const Point3& dUVW, int channel)
{
    SurfaceOffsetContext neighbour(sc, dP, dUVW, channel);
    return map.EvalMono(neighbour);
}

// A unit vector perpendicular to n.
Point3 perpendicular(const Point3& n)
{
    const Point3 ax(std::fabs(n.x), std::fabs(n.y), std::fabs(n.z));
    const Point3 axis = ax.x <= ax.y && ax.x <= ax.z ? Point3(1, 0, 0)
                        : ax.y <= ax.z               ? Point3(0, 1, 0)
                                                     : Point3(0, 0, 1);
    return Normalize(CrossProd(n, axis));
}

bool finite(const Point3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

}  // namespace

MapBase::MapBase(ClassDesc2& desc, std::vector<ParamID> subMapParams)
    : desc_(desc), subMapParams_(std::move(subMapParams))
{
    desc_.MakeAutoParamBlocks(this);
}

ReferenceTarget* MapBase::GetReference(int i) { return i == 0 ? pblock_ : nullptr; }

void MapBase::SetReference(int i, ReferenceTarget* target)
{
    if (i == 0)
        pblock_ = dynamic_cast<IParamBlock2*>(target);
}

RefResult MapBase::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&, RefMessage message,
                                    BOOL)
{
    if (message == REFMSG_CHANGE && hTarget == pblock_ && pblock_)
        refresh();
    return REF_SUCCEED;
}

Texmap* MapBase::GetSubTexmap(int i)
{
    if (i < 0 || i >= NumSubTexmaps() || !pblock_)
        return nullptr;
    return dynamic_cast<Texmap*>(pblock_->GetReferenceTarget(subMapParams_[static_cast<std::size_t>(i)]));
}

void MapBase::SetSubTexmap(int i, Texmap* map)
{
    if (i < 0 || i >= NumSubTexmaps() || !pblock_)
        return;
    pblock_->SetValue(subMapParams_[static_cast<std::size_t>(i)], time_, static_cast<ReferenceTarget*>(map));
}

Texmap* MapBase::subMap(int i, ShadeContext& sc) const
{
    if (!sc.doMaps || !pblock_ || i < 0 || i >= static_cast<int>(subMapParams_.size()))
        return nullptr;
    return dynamic_cast<Texmap*>(pblock_->GetReferenceTarget(subMapParams_[static_cast<std::size_t>(i)]));
}

void MapBase::refresh(TimeValue t, Interval& valid)
{
    time_ = t;
    if (!pblock_)
        return;
    coords_.read(*pblock_, t, valid);
    readParams(*pblock_, t, valid);
}

void MapBase::refresh()
{
    Interval ignored = FOREVER;
    refresh(time_, ignored);
}

void MapBase::Update(TimeValue t, Interval& valid)
{
    refresh(t, valid);
    for (int i = 0; i < NumSubTexmaps(); ++i)
        if (Texmap* m = GetSubTexmap(i))
            m->Update(t, valid);
}

ULONG MapBase::Requirements(int subMtlNum)
{
    ULONG req = usesUV() ? MTLREQ_UV | MTLREQ_BUMPUV : 0;
    for (int i = 0; i < NumSubTexmaps(); ++i)
        if (Texmap* m = GetSubTexmap(i))
            req |= m->Requirements(subMtlNum);
    return req;
}

bool MapBase::LoadMapFiles(TimeValue t)
{
    bool ok = true;
    for (int i = 0; i < NumSubTexmaps(); ++i)
        if (Texmap* m = GetSubTexmap(i))
            ok = m->LoadMapFiles(t) && ok;
    return ok;
}

ReferenceTarget* MapBase::Clone()
{
    ReferenceTarget* made = desc_.Create(FALSE);
    auto* copy = dynamic_cast<MapBase*>(made);
    if (!copy || !copy->pblock_ || !pblock_) {
        if (made)
            made->DeleteThis();
        return nullptr;
    }
    copy->pblock_->CopyValuesFrom(*pblock_);
    for (int i = 0; i < NumSubTexmaps(); ++i) {
        Texmap* m = GetSubTexmap(i);
        if (!m)
            continue;
        if (ReferenceTarget* sub = m->Clone()) {
            copy->adoptOwned(std::unique_ptr<ReferenceTarget>(sub));
            copy->pblock_->SetValue(subMapParams_[static_cast<std::size_t>(i)], time_, sub);
        }
    }
    copy->SetName(GetName());
    copy->SetGBufferID(GetGBufferID());
    copyLoadedState(*copy);
    copy->time_ = time_;
    copy->refresh();
    return copy;
}

Point3 MapBase::EvalNormalPerturb(ShadeContext& sc)
{
    if (coords_.isEnvironment())
        return {};
    const Point3 n = Normalize(sc.Normal());
    const int channel = coords_.channel();
    Point3 result;
    if (usesUV()) {
        Point3 dP[3];
        sc.DPdUVW(dP, channel);
        // Dual basis of (dP/du, dP/dv) in the tangent plane: the surface gradient of a value f is
        // df/du * gu + df/dv * gv, skewed UVs included.
        const Point3 a = CrossProd(dP[1], n), b = CrossProd(n, dP[0]);
        const float da = DotProd(dP[0], a), db = DotProd(dP[1], b);
        if (!(std::fabs(da) > 1e-20f) || !(std::fabs(db) > 1e-20f))
            return {};
        const Point3 gu = a / da, gv = b / db;
        const Point3 footprint = sc.DUVW(channel);
        const float wide = 0.5f * std::max(std::fabs(footprint.x), std::fabs(footprint.y));
        const float h = std::clamp(wide, 1e-3f, 0.05f) / coords_.maxTiling();
        const float du = (monoAt(*this, sc, dP[0] * h, Point3(h, 0, 0), channel) -
                          monoAt(*this, sc, dP[0] * -h, Point3(-h, 0, 0), channel)) /
                         (2.0f * h);
        const float dv = (monoAt(*this, sc, dP[1] * h, Point3(0, h, 0), channel) -
                          monoAt(*this, sc, dP[1] * -h, Point3(0, -h, 0), channel)) /
                         (2.0f * h);
        const float unitLength = 0.5f * (dP[0].Length() + dP[1].Length());
        result = (gu * du + gv * dv) * -unitLength;
    } else {
        const Point3 t1 = perpendicular(n), t2 = CrossProd(n, t1);
        const float scale = spatialScale();
        const float h = 1e-3f * scale;
        if (!(h > 0.0f))
            return {};
        const float d1 =
            (monoAt(*this, sc, t1 * h, {}, channel) - monoAt(*this, sc, t1 * -h, {}, channel)) / (2.0f * h);
        const float d2 =
            (monoAt(*this, sc, t2 * h, {}, channel) - monoAt(*this, sc, t2 * -h, {}, channel)) / (2.0f * h);
        result = (t1 * d1 + t2 * d2) * -scale;
    }
    return finite(result) ? result : Point3();
}

}  // namespace standalone
