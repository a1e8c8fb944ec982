#pragma once
// The render effect the renderer puts into the render parameters in place of the host's during
// a render: it answers for the remembered effect, and applies it only while enabled, so that a
// frame of several passes runs the host's effects once, on the finished painting.

#include "host/Effect.h"

namespace vml {

class DummyFx final : public Effect {
public:
    // The host's effect (not owned), or nullptr.
    void setEffect(Effect* effect) { effect_ = effect; }
    Effect* effect() const { return effect_; }
    void setEnabled(bool on) { enabled_ = on; }
    bool enabled() const { return enabled_; }
    // Channels added to the effect's when it asks for any: what the renderer needs to prepare
    // the G-buffer the effect reads (the multipass merge needs the node render id).
    void setExtraChannels(DWORD channels) { extraChannels_ = channels; }

    // Active when the remembered effect is: an inactive host effect stays unapplied.
    BOOL Active(TimeValue t) override { return effect_ && effect_->Active(t) ? TRUE : FALSE; }
    DWORD GBufferChannelsRequired(TimeValue t) override
    {
        const DWORD channels = effect_ ? effect_->GBufferChannelsRequired(t) : 0;
        return channels ? channels | extraChannels_ : 0;
    }
    void Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb) override
    {
        if (enabled_ && effect_)
            effect_->Apply(t, bm, gc, cb);
    }

private:
    Effect* effect_ = nullptr;
    bool enabled_ = true;
    DWORD extraChannels_ = 0;
};

}  // namespace vml
