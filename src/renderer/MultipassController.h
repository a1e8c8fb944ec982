#pragma once
// The renderer's pass controller: which passes of a frame run, which render instances each shows,
// how later passes let the earlier painting show through, and how the host's render effect is held
// back until the last pass and then sees the G-buffer of every pass.
//
// With multipass off there is one pass and nothing here touches the render: the effect wrapper
// stays enabled and the host's effect runs once per frame as usual. With it on, pass 0 renders
// every node no pass lists and passes 1..9 render the nodes listed under tabs "1".."9" (a listed
// group head brings its whole subtree); passes with nothing to render are skipped.

#include "host/GBufferChannels.h"
#include "renderer/DummyFx.h"
#include "renderer/vmlBgMap.h"

#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

class Bitmap;
class INode;
class IParamBlock2;
class RenderGlobalContext;

namespace vml {

class ArenaHooks;
class vmlRasterBase;

class MultipassController {
public:
    // Number of pass identifiers (the tabs "1" to "9" of the settings rollout).
    static constexpr int passIdCount = 9;

    // At Open: forgets the frame's context and any substitution.
    void reset();
    // At the start of a frame: ten passes with multipass on (membership from block's node
    // lists), else one.
    void setUp(bool multipass, IParamBlock2* block);
    int passCount() const { return passCount_; }
    bool multipass() const { return multipass_; }

    // The pass about to run or running.
    void setPass(int p) { pass_ = p; }
    int pass() const { return pass_; }

    // Pass 0 always; pass p >= 1 when an instance of the recorded context belongs to p - 1.
    bool hasContent(int p);
    // The pass identifier the node belongs to (its own listing, else a listed group head above
    // it), or -1.
    int passIdOf(INode* node) const;
    bool visibleInPass(INode* node, int p) const;

    // The frame's render global context, recorded by the pass-0 pre-frame hook.
    void setGlobalContext(RenderGlobalContext* gc) { globalContext_ = gc; }
    RenderGlobalContext* globalContext() const { return globalContext_; }

    // Before the inner render: later passes get the background stand-in; pass 0 remembers the
    // output bitmap and holds the host's effect back.
    void beginPass(Bitmap* output, vmlRasterBase* canvas);
    // In the pre-frame hook: hides the instances this pass does not render.
    void preFrame();
    // First in the post-frame hook: merges the pass's G-buffer, and on the last pass with
    // content lets the effect run on the merged one. False when the copy cannot be made.
    bool postFrame(Bitmap* output);
    // After the pass loop: the effect, the environment and the hide bits as they were.
    void endFrame();
    // At Close.
    void freeGBufferCopy();
    // Asked before each channel of the G-buffer copy is allocated (may be null). Not owned.
    void setMemoryHooks(ArenaHooks* hooks) { memory_ = hooks; }

    DummyFx& effectWrapper() { return effectWrapper_; }
    vmlBgMap& backgroundMap() { return bgMap_; }
    // The last pass that has anything to render (known after pass 0).
    int lastPassWithContent() const { return lastPass_; }

private:
    struct GBufferCopy {
        int width = 0, height = 0;
        ULONG channels = 0;
        std::array<std::vector<std::byte>, BMM_CHAN_COUNT> data;
    };
    bool copyGBuffer(Bitmap& from);
    void mergeGBuffer(Bitmap& from);
    void writeGBuffer(Bitmap& to);
    void restoreEnvironment();
    // Whether instance i was hidden before the frame.
    bool hiddenBefore(int i) const;

    DummyFx effectWrapper_;
    vmlBgMap bgMap_;
    RenderGlobalContext* globalContext_ = nullptr;
    bool multipass_ = false;
    int passCount_ = 1;
    int pass_ = 0;
    int lastPass_ = 0;
    std::unordered_map<INode*, int> listed_;  // listed node -> pass identifier
    bool visibilityChanged_ = false;
    std::vector<bool> savedHidden_;  // every instance's hide bit before the frame
    Bitmap* firstOutput_ = nullptr;  // the output bitmap of pass 0
    GBufferCopy gbuffer_;
    ArenaHooks* memory_ = nullptr;
};

}  // namespace vml
