#pragma once
// The environment map's stand-in from the second pass of a multipass frame on. Camera rays of
// the renderer's own frame see a transparent background, so the painting of the earlier passes,
// which the canvas composites under the new pass, shows through wherever the new pass has no
// object; every other question gets the environment's answer as before.

#include "host/RenderGlobalContext.h"
#include "host/Texmap.h"

namespace vml {

class vmlRasterBase;

class vmlBgMap final : public Texmap {
public:
    static constexpr Class_ID classId{0x54022254, 0x0320430F};

    // Stands in for `inner` (the context's environment map, or nullptr) in context gc.
    void standIn(Texmap* inner, RenderGlobalContext* gc, vmlRasterBase* canvas);
    void standDown();
    bool standing() const { return standing_; }
    Texmap* inner() const { return inner_; }

    AColor EvalColor(ShadeContext& sc) override;
    void Update(TimeValue t, Interval& valid) override;
    Interval Validity(TimeValue t) override;
    void Reset() override;

    Class_ID ClassID() override { return classId; }
    void GetClassName(std::string& s) override { s.clear(); }

private:
    Texmap* inner_ = nullptr;
    RenderGlobalContext* globalContext_ = nullptr;
    vmlRasterBase* canvas_ = nullptr;
    bool standing_ = false;
};

}  // namespace vml
