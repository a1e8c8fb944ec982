#pragma once
// The renderer's pass controller: which passes of a frame run and what each shows.
//
// This is the single-pass controller. Multipass rendering (the instances of each pass, the
// background of later passes, the held-back effects, the merged G-buffer) is not implemented
// yet: whatever the multipass switch says, only pass 0 has anything to render, instances and
// effects are left as the host made them, and the effect wrapper stays enabled, so the host's
// effects run once per frame as usual.

#include "renderer/DummyFx.h"

class RenderGlobalContext;

namespace vml {

class MultipassController {
public:
    // Number of pass identifiers (the tabs "1" to "9" of the settings rollout).
    static constexpr int passIdCount = 9;

    // At Open: forgets the frame's context and any substitution.
    void reset();
    // At the start of a frame: ten passes with multipass on, else one.
    void setUp(bool multipass);
    int passCount() const { return passCount_; }
    bool multipass() const { return multipass_; }

    // The pass about to run or running.
    void setPass(int p) { pass_ = p; }
    int pass() const { return pass_; }

    // Pass 0 always; later passes never, until multipass rendering exists.
    bool hasContent(int p) const { return p == 0; }

    // The frame's render global context, recorded by the pass-0 pre-frame hook.
    void setGlobalContext(RenderGlobalContext* gc) { globalContext_ = gc; }
    RenderGlobalContext* globalContext() const { return globalContext_; }

    // Before the inner render, in the pre-frame hook, first in the post-frame hook, after the
    // pass loop. Nothing to do with one pass.
    void beginPass() {}
    void preFrame() {}
    void postFrame() {}
    void endFrame() { globalContext_ = nullptr; }
    // At Close: the private G-buffer copy (none with one pass) and the state.
    void freeGBufferCopy() {}

    DummyFx& effectWrapper() { return effectWrapper_; }

private:
    DummyFx effectWrapper_;
    RenderGlobalContext* globalContext_ = nullptr;
    bool multipass_ = false;
    int passCount_ = 1;
    int pass_ = 0;
};

}  // namespace vml
