#include "standalone/EffectList.h"

namespace standalone {

void EffectList::add(Effect* effect)
{
    if (effect)
        effects_.push_back(effect);
}

Effect* EffectList::at(int i) const
{
    return i >= 0 && i < count() ? effects_[static_cast<std::size_t>(i)] : nullptr;
}

DWORD EffectList::GBufferChannelsRequired(TimeValue t)
{
    DWORD channels = 0;
    for (Effect* e : effects_)
        if (e->Active(t))
            channels |= e->GBufferChannelsRequired(t);
    return channels;
}

void EffectList::Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb)
{
    for (Effect* e : effects_) {
        if (cb && cb->Check())
            return;
        if (e->Active(t))
            e->Apply(t, bm, gc, cb);
    }
}

}  // namespace standalone
