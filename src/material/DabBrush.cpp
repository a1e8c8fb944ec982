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
    tile_ = tileOf(variantIndex_);
    tile_.setTextureSteps(cs, sn);
}

BrushTileSampler MapDabBrush::tileOf(int variant)
{
    // Every thread remembers the last tiles it was handed, with the cache's generation: while
    // that stands, the tile is where it was and the cache's lock need not be taken.
    struct Remembered {
        const BrushCache* cache = nullptr;
        std::uint64_t generation = 0;
        const vmlBrush* brush = nullptr;
        int variant = 0;
        const std::uint8_t* tile = nullptr;
        TexelBox nonzero;
    };
    constexpr std::size_t kept = 32;
    thread_local Remembered remembered[kept];
    thread_local std::size_t next = 0, lastUsed = 0;
    const std::uint64_t generation = cache_->generation();
    auto matches = [&](const Remembered& r) {
        return r.tile && r.cache == cache_ && r.generation == generation && r.brush == &brush_ &&
               r.variant == variant;
    };
    const int size = cache_->tileSize();
    auto sampler = [size](const Remembered& r) { return BrushTileSampler(r.tile, size, r.nonzero); };
    // Most dabs use the tile of the dab before.
    if (matches(remembered[lastUsed]))
        return sampler(remembered[lastUsed]);
    for (std::size_t i = 0; i < kept; ++i)
        if (matches(remembered[i])) {
            lastUsed = i;
            return sampler(remembered[i]);
        }
    const std::uint8_t* tile =
        cache_->lookupShared(&brush_, static_cast<std::uint32_t>(variant),
                             [&](Texmap*) { brush_.setVariant(variantSeed_, variant); });
    remembered[next] = {cache_, generation, &brush_, variant, tile, BrushTileSampler::nonzeroBox(tile, size)};
    lastUsed = next;
    next = (next + 1) % kept;
    return sampler(remembered[lastUsed]);
}

ReadRun MapDabBrush::sampleRow(float u, float v, int count, float* values)
{
    if (cache_) {
        tile_.setPosition(u, v);
        return tile_.sampleNonzeroRun(values, count);
    }
    for (int i = 0; i < count; ++i) {
        const float ui = u + static_cast<float>(i) * cs_, vi = v + static_cast<float>(i) * sn_;
        context_.setTextureCoords({ui, vi, 0.0f}, {});
        values[i] = brush_.value(ui, vi, &context_);
    }
    return {0, std::max(count, 0)};
}

TextureBox MapDabBrush::tipBounds(int reads) const
{
    return cache_ ? tile_.nonzeroReach(reads) : TextureBox{};
}

}  // namespace vml
