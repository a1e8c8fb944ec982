#pragma once
// Where the stroke walk reads the brush value of a dab's pixels: the brush texture map itself
// or its cached tile. The walk tells it when a dab starts (with the texture-space step per
// canvas column), then reads each row's run of pixels inside the brush square at once.

#include "renderer/BrushTileSampler.h"

#include <cstdint>

namespace vml {

class BrushCache;
class VmlRenderContext;
class vmlBrush;

class DabBrush {
public:
    virtual ~DabBrush() = default;
    // Random variants: the seed steps per dab with rake 2; the index selects the tip.
    virtual int variantCount() const = 0;
    virtual void setVariant(std::uint16_t seed, int index) = 0;
    // (cs, sn): texture-space step from one column to the next.
    virtual void beginDab(float cs, float sn) = 0;
    // Values 0..1 of `count` pixels of a row, the first at (u, v), each next one step further:
    // the pixels of the answered run, in values[0..run.count). The others are 0; a brush that
    // knows where its tip is empty may leave them out.
    virtual ReadRun sampleRow(float u, float v, int count, float* values) = 0;
    // After beginDab: where the rows of the dab, each of at most `reads` pixels, can read
    // above 0. The whole square unless the brush knows where its tip is empty.
    virtual TextureBox tipBounds(int /*reads*/) const { return {}; }
    // After beginDab: the cached tile the dab's rows read, stepped by the dab's texture steps,
    // when the brush is read from one; sampleRow(u, v, count, values) is then
    // setPosition(u, v) and sampleNonzeroRun(values, count) on it. Null otherwise.
    virtual BrushTileSampler* dabTile() { return nullptr; }
};

// The brush texture map, through the renderer's cache when one is given and the brush allows
// it, else evaluated at each pixel in `context`. The brush must be updated for the frame.
// Through the cache it keeps the variant to itself (the brush map is told only to render a
// missing tile, under the cache's lock), so walks on several threads may share one brush.
class MapDabBrush final : public DabBrush {
public:
    MapDabBrush(vmlBrush& brush, VmlRenderContext& context, BrushCache* cache);

    int variantCount() const override;
    void setVariant(std::uint16_t seed, int index) override;
    void beginDab(float cs, float sn) override;
    ReadRun sampleRow(float u, float v, int count, float* values) override;
    TextureBox tipBounds(int reads) const override;
    BrushTileSampler* dabTile() override { return cache_ ? &tile_ : nullptr; }

    bool usesCache() const { return cache_ != nullptr; }

private:
    vmlBrush& brush_;
    VmlRenderContext& context_;
    BrushCache* cache_;
    BrushTileSampler tile_;
    float cs_ = 0.0f, sn_ = 0.0f;
    std::uint16_t variantSeed_ = 0;
    int variantIndex_ = 0;

    // The cached tile of a variant, with the box of its texels above 0.
    BrushTileSampler tileOf(int variant);
};

}  // namespace vml
