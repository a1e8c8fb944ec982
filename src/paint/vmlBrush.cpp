#include "paint/vmlBrush.h"

#include "host/ClassDesc2.h"
#include "host/IParamBlock2.h"
#include "host/ShadeContext.h"
#include "paint/BrushEditor.h"
#include "paint/vmlBrushParamBlock.h"
#include "resources/StringIds.h"
#include "shell/StringLookup.h"

#include <cmath>
#include <memory>
#include <new>

namespace vml {

namespace {

// Half-width of the finite differences of the bump gradient: half the context's UV footprint,
// kept between 1/1000 (point-sampled contexts still get a gradient) and 1/20 of the tile.
float differenceStep(float footprint)
{
    constexpr float minStep = 1e-3f, maxStep = 0.05f;
    const float h = std::fabs(footprint) * 0.5f;
    if (!(h >= minStep))
        return minStep;
    return h > maxStep ? maxStep : h;
}

}  // namespace

std::atomic<int> vmlBrush::strokePainting_{0};

vmlBrush::vmlBrush()
{
    ParamBlockDesc2& desc = vmlBrushParamBlock();
    if (ClassDesc2* cd = desc.GetClassDesc())
        cd->MakeAutoParamBlocks(this);
    else
        ReplaceReference(blockRef, adopt(std::make_unique<IParamBlock2>(&desc, this)));
}

vmlBrush::~vmlBrush()
{
    if (editor_)
        editor_->close();
}

ParamDlg* vmlBrush::CreateParamDlg(HWND, IMtlParams*)
{
    auto editor = std::make_unique<BrushEditor>(*this);
    if (!editor->isOpen())
        return nullptr;
    editor_ = editor.get();
    return editor.release();
}

void vmlBrush::GetClassName(std::string& s)
{
    const char* text = getString(strings::brushClass);
    s = text ? text : "";
}

ReferenceTarget* vmlBrush::GetReference(int i) { return i == blockRef ? pblock_ : nullptr; }

void vmlBrush::SetReference(int i, ReferenceTarget* target)
{
    if (i != blockRef)
        return;
    pblock_ = dynamic_cast<IParamBlock2*>(target);
    ivalid_.SetEmpty();
}

RefResult vmlBrush::NotifyRefChanged(const Interval&, ReferenceTarget* hTarget, PartID&, RefMessage message,
                                     BOOL)
{
    // A change of the block or of the sub-map it holds (which the block passes on).
    if (hTarget == pblock_ && (message == REFMSG_CHANGE || message == REFMSG_TARGET_DELETED)) {
        ivalid_.SetEmpty();
        if (editor_ && message == REFMSG_CHANGE)
            editor_->blockChanged(pblock_->LastNotifyParamID());
    }
    return REF_SUCCEED;
}

Texmap* vmlBrush::subMap() const
{
    return pblock_ ? dynamic_cast<Texmap*>(pblock_->GetReferenceTarget(brushMapParam::brushMapMap, time_))
                   : nullptr;
}

Texmap* vmlBrush::GetSubTexmap(int i) { return i == 0 ? subMap() : nullptr; }

void vmlBrush::SetSubTexmap(int i, Texmap* m)
{
    if (i == 0 && pblock_)
        pblock_->SetValue(brushMapParam::brushMapMap, time_, static_cast<ReferenceTarget*>(m));
}

void vmlBrush::readBlock(TimeValue t, Interval& valid)
{
    using namespace brushMapParam;
    time_ = t;
    if (!pblock_)
        return;
    IParamBlock2& b = *pblock_;
    auto readFloat = [&](ParamID id, float& v) { b.GetValue(id, t, v, valid); };
    auto readInt = [&](ParamID id, int& v) { b.GetValue(id, t, v, valid); };
    auto readBool = [&](ParamID id, bool& v) {
        int i = v ? 1 : 0;
        b.GetValue(id, t, i, valid);
        v = i != 0;
    };
    BrushShape& s = shape_;
    readFloat(brushMapMapOpacity, s.mapOpacity);
    readBool(brushMapMapEnable, s.mapEnable);
    readInt(brushMapType, s.type);
    readFloat(brushMapStretch, s.stretch);
    readFloat(brushMapStretchRnd, s.stretchRnd);
    readFloat(brushMapAngle, s.angle);
    readFloat(brushMapAngleRnd, s.angleRnd);
    readFloat(brushMapGroove, s.groove);
    readInt(brushMapGrooveNUM, s.grooveNum);
    readFloat(brushMapSize, s.size);
    readFloat(brushMapSizeRnd, s.sizeRnd);
    readFloat(brushMapAnti, s.anti);
    readFloat(brushMapHSpace, s.hSpace);
    readFloat(brushMapHSpaceRand, s.hSpaceRand);
    readFloat(brushMapVSpace, s.vSpace);
    readFloat(brushMapVSpaceRand, s.vSpaceRand);
    readFloat(brushMapDampStart, s.dampStart);
    readFloat(brushMapDampEnd, s.dampEnd);
    readBool(brushCacheDisable, s.cacheDisable);
    readInt(brushRndNum, s.rndNum);
    s.derive();
}

void vmlBrush::Update(TimeValue t, Interval& valid)
{
    if (!ivalid_.InInterval(t)) {
        ivalid_ = FOREVER;
        readBlock(t, ivalid_);
        Texmap* m = subMap();
        hasSubMap_ = m != nullptr;
        if (m)
            m->Update(t, ivalid_);
        // A smaller variant count keeps the painter's index in range.
        variantIndex_ %= shape_.rndNum;
    }
    valid &= ivalid_;
}

void vmlBrush::Reset()
{
    if (pblock_)
        pblock_->ResetAll();
    ivalid_.SetEmpty();
}

ULONG vmlBrush::Requirements(int subMtlNum)
{
    ULONG req = MTLREQ_UV | MTLREQ_BUMPUV;
    if (Texmap* m = subMap())
        req |= m->Requirements(subMtlNum);
    return req;
}

bool vmlBrush::LoadMapFiles(TimeValue t)
{
    Texmap* m = subMap();
    return m ? m->LoadMapFiles(t) : true;
}

void vmlBrush::setVariant(std::uint16_t seed, int index)
{
    const int n = shape_.rndNum;
    variantSeed_ = seed;
    variantIndex_ = (index % n + n) % n;
}

float vmlBrush::value(float u, float v, ShadeContext* sc)
{
    // While no strokes are painted every caller sees variant 0. The stored index is left alone:
    // shading threads may evaluate the brush at the same time.
    const int variant = strokePainting() ? variantIndex_ : 0;
    const BrushShape& s = shape_;
    if (sc && s.mapEnable && hasSubMap_) {
        if (Texmap* m = subMap()) {
            if (s.mapOpacity >= 100.0f)
                return m->EvalMono(*sc);
            const float o = s.mapOpacity / 100.0f;
            return (1.0f - o) * tipShape(s, u, v, variant) + o * m->EvalMono(*sc);
        }
    }
    return tipShape(s, u, v, variant);
}

float vmlBrush::sample(ShadeContext& sc)
{
    const Point3 uvw = sc.UVW(1);
    return value(uvw.x, uvw.y, &sc);
}

AColor vmlBrush::EvalColor(ShadeContext& sc)
{
    const float b = sample(sc);
    return AColor(b, b, b, 1.0f);
}

float vmlBrush::EvalMono(ShadeContext& sc) { return sample(sc); }

// The gradient comes from central differences of B around (u, v), stepped by the context's UV
// footprint. The sub-map enters each difference with its value at the context itself, so only
// the tip shape contributes to the bump.
Point3 vmlBrush::EvalNormalPerturb(ShadeContext& sc)
{
    Point3 dP[3];
    sc.DPdUVW(dP, 1);
    const Point3 uvw = sc.UVW(1), footprint = sc.DUVW(1);
    const float hu = differenceStep(footprint.x), hv = differenceStep(footprint.y);
    const float g0 = (value(uvw.x + hu, uvw.y, &sc) - value(uvw.x - hu, uvw.y, &sc)) / (2.0f * hu);
    const float g1 = (value(uvw.x, uvw.y + hv, &sc) - value(uvw.x, uvw.y - hv, &sc)) / (2.0f * hv);
    return dP[0] * (g0 * 0.02f) + dP[1] * (g1 * 0.02f);
}

ReferenceTarget* vmlBrush::Clone()
{
    std::unique_ptr<vmlBrush> copy;
    try {
        copy = std::make_unique<vmlBrush>();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (pblock_ && copy->pblock_) {
        copy->pblock_->CopyValuesFrom(*pblock_);
        // The copy links the same sub-map until it has a clone of its own.
        if (Texmap* m = subMap()) {
            if (ReferenceTarget* sub = m->Clone()) {
                copy->adoptOwned(std::unique_ptr<ReferenceTarget>(sub));
                copy->pblock_->SetValue(brushMapParam::brushMapMap, time_, sub);
            }
        }
    }
    copy->SetName(GetName());
    copy->SetGBufferID(GetGBufferID());
    copy->time_ = time_;
    return copy.release();
}

IOResult vmlBrush::Save(ISave*) { return IO_OK; }

IOResult vmlBrush::Load(ILoad* iload)
{
    ivalid_.SetEmpty();
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        if (iload->CloseChunk() != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : res;
}

}  // namespace vml
