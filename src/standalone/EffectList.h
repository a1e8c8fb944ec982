#pragma once
// Several render effects applied as one: in list order, each when active, with the union of their
// G-buffer channel needs. The effects are not owned.

#include "host/Effect.h"

#include <vector>

namespace standalone {

class EffectList : public Effect {
public:
    void add(Effect* effect);  // nullptr is ignored
    void clear() { effects_.clear(); }
    int count() const { return static_cast<int>(effects_.size()); }
    Effect* at(int i) const;

    // Union over the active effects.
    DWORD GBufferChannelsRequired(TimeValue t) override;
    // Applies the active effects in order; stops before the next one once cb reports an abort.
    void Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb) override;

private:
    std::vector<Effect*> effects_;
};

}  // namespace standalone
