#include "renderer/vmlBgMap.h"

#include "host/Interface.h"
#include "host/ShadeContext.h"

namespace vml {

void vmlBgMap::standIn(Texmap* inner, RenderGlobalContext* gc, vmlRasterBase* canvas)
{
    inner_ = inner;
    globalContext_ = gc;
    canvas_ = canvas;
    standing_ = true;
}

void vmlBgMap::standDown()
{
    inner_ = nullptr;
    globalContext_ = nullptr;
    canvas_ = nullptr;
    standing_ = false;
}

AColor vmlBgMap::EvalColor(ShadeContext& sc)
{
    if (globalContext_ && sc.globContext == globalContext_ && sc.xshadeID == 0 && canvas_)
        return AColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (inner_)
        return inner_->EvalColor(sc);
    Interface* core = GetCOREInterface();
    Interval valid = FOREVER;
    const Color c = core ? core->GetBackGround(sc.globContext ? sc.globContext->time : 0, valid) : Color();
    return AColor(c.r, c.g, c.b, 1.0f);
}

void vmlBgMap::Update(TimeValue t, Interval& valid)
{
    if (inner_)
        inner_->Update(t, valid);
}

Interval vmlBgMap::Validity(TimeValue t) { return inner_ ? inner_->Validity(t) : FOREVER; }

void vmlBgMap::Reset()
{
    if (inner_)
        inner_->Reset();
}

}  // namespace vml
