#include "renderer/MultipassController.h"

#include "host/Bitmap.h"
#include "host/INode.h"
#include "host/RenderGlobalContext.h"
#include "host/RenderInstance.h"
#include "renderer/ArenaHooks.h"
#include "renderer/MultipassNodeTable.h"

#include <cstring>
#include <new>

namespace vml {

void MultipassController::reset()
{
    restoreEnvironment();
    globalContext_ = nullptr;
    visibilityChanged_ = false;
    savedHidden_.clear();
    firstOutput_ = nullptr;
    pass_ = 0;
    lastPass_ = 0;
}

void MultipassController::setUp(bool multipass, IParamBlock2* block)
{
    multipass_ = multipass;
    passCount_ = multipass ? passIdCount + 1 : 1;
    pass_ = 0;
    lastPass_ = 0;
    listed_.clear();
    // The passes' G-buffers are merged by node render id for the effect.
    effectWrapper_.setExtraChannels(multipass ? BMM_CHAN_NODE_RENDER_ID : 0);
    if (!multipass || !block)
        return;
    for (int id = 0; id < passIdCount; ++id)
        for (INode* node : multipassNodesUnder(*block, id))
            listed_.emplace(node, id);
}

int MultipassController::passIdOf(INode* node) const
{
    if (!node)
        return -1;
    if (const auto it = listed_.find(node); it != listed_.end())
        return it->second;
    for (INode* up = node->GetParentNode(); up; up = up->GetParentNode())
        if (const auto it = listed_.find(up); it != listed_.end() && up->IsGroupHead())
            return it->second;
    return -1;
}

bool MultipassController::visibleInPass(INode* node, int p) const { return passIdOf(node) == p - 1; }

bool MultipassController::hasContent(int p)
{
    if (p == 0)
        return true;
    if (!multipass_ || !globalContext_ || p >= passCount_)
        return false;
    for (int i = 0; i < globalContext_->NumRenderInstances(); ++i)
        if (RenderInstance* inst = globalContext_->GetRenderInstance(i);
            inst && visibleInPass(inst->GetINode(), p))
            return true;
    return false;
}

void MultipassController::beginPass(Bitmap* output, vmlRasterBase* canvas)
{
    if (!multipass_)
        return;
    if (pass_ >= 1) {
        if (globalContext_ && !globalContext_->inMtlEdit && !bgMap_.standing()) {
            bgMap_.standIn(globalContext_->envMap, globalContext_, canvas);
            globalContext_->envMap = &bgMap_;
        }
        return;
    }
    firstOutput_ = output;
    if (effectWrapper_.effect())
        effectWrapper_.setEnabled(false);
}

void MultipassController::preFrame()
{
    if (!multipass_ || !globalContext_)
        return;
    const int n = globalContext_->NumRenderInstances();
    if (pass_ == 0) {
        savedHidden_.assign(static_cast<std::size_t>(n), false);
        for (int i = 0; i < n; ++i)
            if (RenderInstance* inst = globalContext_->GetRenderInstance(i))
                savedHidden_[static_cast<std::size_t>(i)] = (inst->flags & INST_HIDE) != 0;
    }
    for (int i = 0; i < n; ++i) {
        RenderInstance* inst = globalContext_->GetRenderInstance(i);
        if (!inst)
            continue;
        inst->flags &= ~INST_HIDE;
        if (hiddenBefore(i) || !visibleInPass(inst->GetINode(), pass_))
            inst->flags |= INST_HIDE;
    }
    visibilityChanged_ = true;
}

bool MultipassController::postFrame(Bitmap* output)
{
    if (!multipass_)
        return true;
    bool ok = true;
    if (pass_ == 0) {
        lastPass_ = 0;
        for (int p = passCount_ - 1; p >= 1 && lastPass_ == 0; --p)
            if (hasContent(p))
                lastPass_ = p;
        ok = output && copyGBuffer(*output);
    } else if (output) {
        mergeGBuffer(*output);
    }
    if (ok && pass_ == lastPass_ && effectWrapper_.effect() && !effectWrapper_.enabled()) {
        effectWrapper_.setEnabled(true);
        if (output)
            writeGBuffer(*output);
    }
    restoreEnvironment();
    return ok;
}

void MultipassController::endFrame()
{
    if (multipass_ && effectWrapper_.effect() && !effectWrapper_.enabled()) {
        effectWrapper_.setEnabled(true);
        if (firstOutput_)
            writeGBuffer(*firstOutput_);
    }
    restoreEnvironment();
    if (visibilityChanged_ && globalContext_) {
        const int n = globalContext_->NumRenderInstances();
        for (int i = 0; i < n; ++i) {
            RenderInstance* inst = globalContext_->GetRenderInstance(i);
            if (!inst)
                continue;
            inst->flags = hiddenBefore(i) ? (inst->flags | INST_HIDE) : (inst->flags & ~INST_HIDE);
        }
    }
    visibilityChanged_ = false;
    globalContext_ = nullptr;
    firstOutput_ = nullptr;
}

bool MultipassController::hiddenBefore(int instance) const
{
    const auto i = static_cast<std::size_t>(instance);
    return i < savedHidden_.size() && savedHidden_[i];
}

void MultipassController::restoreEnvironment()
{
    if (!bgMap_.standing())
        return;
    if (globalContext_ && globalContext_->envMap == &bgMap_)
        globalContext_->envMap = bgMap_.inner();
    bgMap_.standDown();
}

bool MultipassController::copyGBuffer(Bitmap& from)
{
    const int w = from.Width(), h = from.Height();
    const ULONG channels = from.ChannelsPresent();
    try {
        if (gbuffer_.width != w || gbuffer_.height != h || gbuffer_.channels != channels) {
            freeGBufferCopy();
            gbuffer_.width = w, gbuffer_.height = h, gbuffer_.channels = channels;
        }
        for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
            const ULONG bit = 1u << slot;
            const void* src = (channels & bit) ? from.GetChannel(bit) : nullptr;
            std::vector<std::byte>& dst = gbuffer_.data[std::size_t(slot)];
            if (!src) {
                dst.clear();
                continue;
            }
            const std::size_t bytes = std::size_t(w) * std::size_t(h) * std::size_t(GBufferChannelSize(bit));
            checkAllocation(memory_, AllocationSite::gbufferCopy);
            dst.resize(bytes);
            std::memcpy(dst.data(), src, bytes);
        }
    } catch (const std::bad_alloc&) {
        freeGBufferCopy();
        return false;
    }
    return true;
}

void MultipassController::mergeGBuffer(Bitmap& from)
{
    const int w = from.Width(), h = from.Height();
    const auto* ids = from.Channel<std::uint16_t>(BMM_CHAN_NODE_RENDER_ID);
    if (!ids || w != gbuffer_.width || h != gbuffer_.height)
        return;
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
        const ULONG bit = 1u << slot;
        std::vector<std::byte>& dst = gbuffer_.data[std::size_t(slot)];
        const auto* src =
            static_cast<const std::byte*>((from.ChannelsPresent() & bit) ? from.GetChannel(bit) : nullptr);
        if (!src || dst.empty())
            continue;
        const std::size_t size = std::size_t(GBufferChannelSize(bit));
        // A pixel where this pass has a fragment takes all of its layer from this pass.
        for (std::size_t i = 0, n = std::size_t(w) * std::size_t(h); i < n; ++i)
            if (ids[i] < BMM_BACKGROUND_NODE_RENDER_ID)
                std::memcpy(dst.data() + i * size, src + i * size, size);
    }
}

void MultipassController::writeGBuffer(Bitmap& to)
{
    if (to.Width() != gbuffer_.width || to.Height() != gbuffer_.height)
        return;
    try {
        to.CreateChannels(gbuffer_.channels);
    } catch (const std::bad_alloc&) {
        return;  // the channels the bitmap has keep their last pass's values
    }
    for (int slot = 0; slot < BMM_CHAN_COUNT; ++slot) {
        const ULONG bit = 1u << slot;
        const std::vector<std::byte>& src = gbuffer_.data[std::size_t(slot)];
        ULONG type = 0;
        void* dst = (gbuffer_.channels & bit) ? to.GetChannel(bit, type) : nullptr;
        if (dst && !src.empty())
            std::memcpy(dst, src.data(), src.size());
    }
}

void MultipassController::freeGBufferCopy()
{
    for (auto& channel : gbuffer_.data)
        std::vector<std::byte>().swap(channel);
    gbuffer_.width = gbuffer_.height = 0;
    gbuffer_.channels = 0;
}

}  // namespace vml
