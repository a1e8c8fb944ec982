#include "material/vmlObjBrush.h"

#include <cstddef>
#include <new>
#include <stdexcept>

namespace vml {

// The layout is part of the record's contract with the stroke pool: fields in this order, no
// hidden padding, 56 bytes with the type identity.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(sizeof(vmlObjBrush) == vmlObjBrush::recordSize);
static_assert(offsetof(vmlObjBrush, depthKey) == 8);
static_assert(offsetof(vmlObjBrush, x) == 12);
static_assert(offsetof(vmlObjBrush, y) == 16);
static_assert(offsetof(vmlObjBrush, nodeId) == 20);
static_assert(offsetof(vmlObjBrush, seed) == 24);
static_assert(offsetof(vmlObjBrush, color) == 26);
static_assert(offsetof(vmlObjBrush, reserved) == 30);
static_assert(offsetof(vmlObjBrush, face) == 32);
static_assert(offsetof(vmlObjBrush, normal) == 36);
static_assert(offsetof(vmlObjBrush, material) == 40);
static_assert(offsetof(vmlObjBrush, cell) == 48);
#pragma GCC diagnostic pop

void vmlObjBrush::paint(StrokePaintContext& context)
{
    (void)context;
    throw std::logic_error("vmlObjBrush::paint is not implemented yet");
}

vmlStrokeRecord* vmlObjBrush::copyTo(void* storage) const { return new (storage) vmlObjBrush(*this); }

std::uint64_t vmlObjBrush::orderKey() const
{
    auto bits16 = [](std::int32_t v) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(v) & 0xFFFFu);
    };
    return bits16(cell.y) << 48 | bits16(cell.x) << 32 | bits16(nodeId) << 16 | bits16(face);
}

}  // namespace vml
