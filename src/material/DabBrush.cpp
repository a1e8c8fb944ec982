#include "material/DabBrush.h"

#include "paint/vmlBrush.h"
#include "renderer/BrushCache.h"
#include "renderer/VmlRenderContext.h"

#include <algorithm>
#include <cmath>

namespace vml {

MapDabBrush::MapDabBrush(vmlBrush& brush, VmlRenderContext& context, BrushCache* cache)
    : brush_(brush), context_(context), cache_(cache && !brush.cacheDisabled() ? cache : nullptr)
{}

int MapDabBrush::variantCount() const { return brush_.variantCount(); }

void MapDabBrush::setVariant(std::uint16_t seed, int index)
{
    if (!cache_) {
        brush_.setVariant(seed, index);
        return;
    }
    // As the brush takes it: modulo its variant count.
    const int n = std::max(1, brush_.variantCount());
    variantSeed_ = seed;
    variantIndex_ = (index % n + n) % n;
}

void MapDabBrush::beginDab(float cs, float sn)
{
    cs_ = cs, sn_ = sn;
    if (!cache_)
        return;
    // One tile per variant; a missing one is rendered with the brush set to it.
    const int size = cache_->tileSize();
    if (tileVariant_ != variantIndex_ || !tileData_) {
        tileData_ = cache_->lookupShared(&brush_, static_cast<std::uint32_t>(variantIndex_),
                                         [this](Texmap*) { brush_.setVariant(variantSeed_, variantIndex_); });
        tileVariant_ = variantIndex_;
    }
    tile_ = BrushTileSampler(tileData_, size);
    const float perColumn = static_cast<float>(size) * 256.0f;
    tile_.setSteps(static_cast<std::int32_t>(cs * perColumn), static_cast<std::int32_t>(sn * perColumn));
}

void MapDabBrush::sampleRow(float u, float v, int count, float* values)
{
    if (cache_) {
        tile_.setPosition(u, v);
        for (int i = 0; i < count; ++i)
            values[i] = tile_.sample();
        return;
    }
    for (int i = 0; i < count; ++i) {
        const float ui = u + static_cast<float>(i) * cs_, vi = v + static_cast<float>(i) * sn_;
        context_.setTextureCoords({ui, vi, 0.0f}, {});
        values[i] = brush_.value(ui, vi, &context_);
    }
}

}  // namespace vml
