#pragma once
// The stroke record a vmlMaterial files with the renderer for one corner of the stroke grid on
// one object: where the stroke sits, how deep, its seed, the colour of the sample it was made
// from, and the material whose brush, stroke and paint settings paint it. It holds nothing of
// the shading context, so it stays valid after shading ends.

#include "renderer/StrokeSeed.h"
#include "renderer/vmlStrokeRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vml {

class vmlMaterial;

class vmlObjBrush final : public vmlStrokeRecord {
public:
    // Fixed record size; the stroke pool is sized in these.
    static constexpr std::size_t recordSize = 56;

    vmlObjBrush() : vmlStrokeRecord(0.0f) {}
    vmlObjBrush(const vmlObjBrush&) = default;
    vmlObjBrush& operator=(const vmlObjBrush&) = default;

    // Paints the stroke onto the context's canvas with its material's brush, stroke and paint
    // settings. Nothing is painted without a brush texture in the material's brush slot.
    void paint(StrokePaintContext& context) override;
    // With the renderer's brush cache, the walk is made ahead into a recording of its coverage.
    bool prepare(const StrokePaintContext& context, std::unique_ptr<PreparedStroke>& slot) const override;
    bool preparable(const StrokePaintContext& context) const override;
    void paintPrepared(StrokePaintContext& context, PreparedStroke& prepared) override;
    std::size_t size() const override { return sizeof(vmlObjBrush); }
    vmlStrokeRecord* copyTo(void* storage) const override;
    // Cell row, cell column, node id and face, 16 bits each, most significant first.
    std::uint64_t orderKey() const override;

    // depthKey (the base's field) is the sample's camera-space z plus the sort offset.
    float x = 0.0f, y = 0.0f;  // screen position of the grid corner, pixels
    std::int32_t nodeId = 0;
    std::uint16_t seed = 0;
    // r, g, b: straight colour x 255 truncated; a: (1 - mean transparency) x 255 truncated.
    std::array<std::uint8_t, 4> color{};
    std::uint16_t reserved = 0;  // explicit, so copies and the sort see defined bytes only
    std::int32_t face = 0;
    std::uint32_t normal = 0;  // CompressNormal of the normalised shading normal
    const vmlMaterial* material = nullptr;
    // The cell the seed was drawn from (after the back-face remap); fills the record to its
    // fixed size and breaks depth ties.
    StrokeCell cell;
};

}  // namespace vml
