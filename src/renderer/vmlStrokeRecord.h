#pragma once
// The base of every stroke record the material files with the renderer. A record answers its
// size, paints itself and carries its depth key as the first field after the type identity.
// The renderer keeps copies in its stroke pool, made through copyTo, so a record type must be
// copy-constructible, need no more than ChunkedArena::alignment, and own nothing that its
// destructor would have to free (pooled copies are never destroyed).

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vml {

struct StrokePaintContext;

// What a record worked out ahead of painting, held for its paintPrepared.
class PreparedStroke {
public:
    virtual ~PreparedStroke() = default;
};

class vmlStrokeRecord {
public:
    explicit vmlStrokeRecord(float depth) : depthKey(depth) {}
    virtual ~vmlStrokeRecord() = default;

    // Paints the stroke; may change the record's own working fields.
    virtual void paint(StrokePaintContext& context) = 0;
    // The part of painting that does not touch the canvas, worked out ahead on any thread while
    // the canvas paints earlier strokes; several records may prepare at once. `slot` may hold
    // what an earlier record prepared, to be reused. False (the default, and whenever the record
    // cannot): paint() does everything.
    virtual bool prepare(const StrokePaintContext&, std::unique_ptr<PreparedStroke>& /*slot*/) const
    {
        return false;
    }
    // Whether prepare would work the record out ahead in this context.
    virtual bool preparable(const StrokePaintContext&) const { return false; }
    // Paints with what prepare made for this record, in the canvas order paint() would: the
    // same pixels.
    virtual void paintPrepared(StrokePaintContext& context, PreparedStroke&) { paint(context); }
    // Bytes of the complete record (sizeof of the most derived type).
    virtual std::size_t size() const = 0;
    // Copy-constructs the record into `storage` (size() bytes, suitably aligned); returns it.
    virtual vmlStrokeRecord* copyTo(void* storage) const = 0;
    // Orders records of equal depth so that the sort gives the same order on every run,
    // whatever order the shading threads filed them in. Derive it from the record's content.
    virtual std::uint64_t orderKey() const = 0;

    // Sort key: camera-space depth (more negative is farther); ascending order paints far first.
    float depthKey;

protected:
    vmlStrokeRecord(const vmlStrokeRecord&) = default;
    vmlStrokeRecord& operator=(const vmlStrokeRecord&) = default;
};

}  // namespace vml
