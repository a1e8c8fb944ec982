// Chunked streams as a scene file holds them for the library's classes. The first byte picks the
// class (its registry row) and what loads the rest of the input: the object made for loading
// itself, or one of its parameter blocks, as the host restores them. A stream that loads must
// save again, and what it saves must load into a fresh object.

#include "FuzzHost.h"

#include "host/ChunkReader.h"
#include "host/ChunkWriter.h"
#include "host/IParamBlock2.h"
#include "host/ReferenceTarget.h"
#include "plugin/EntryPoints.h"

#include <span>

namespace {

struct Made {
    ReferenceTarget* object = nullptr;
    ~Made()
    {
        if (object)
            object->DeleteThis();
    }
};

// The part of `object` that `target` names: 0 the object, k its block k - 1 (wrapping around).
ReferenceMaker* part(ReferenceTarget& object, unsigned target)
{
    const auto choices = static_cast<unsigned>(object.NumParamBlocks()) + 1;
    const unsigned k = target % choices;
    if (k == 0)
        return &object;
    return object.GetParamBlock(static_cast<int>(k - 1));
}

IOResult load(ReferenceMaker& maker, std::span<const std::uint8_t> stream)
{
    ChunkReader reader(stream);
    return maker.Load(&reader);
}

[[noreturn]] void fail(const char* what, int classRow, unsigned target)
{
    fuzz::fail("class " + std::to_string(classRow) + ", part " + std::to_string(target) + ": " + what);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::host();
    if (size == 0)
        return 0;
    const int classRow = data[0] % LibNumberClasses();
    const unsigned target = data[0] / static_cast<unsigned>(LibNumberClasses());
    ClassDesc2* desc = LibClassDesc(classRow);
    if (!desc)
        fail("no descriptor", classRow, target);

    Made first{desc->Create(TRUE)};
    if (!first.object)
        fail("not made", classRow, target);
    ReferenceMaker* loaded = part(*first.object, target);
    if (!loaded || load(*loaded, std::span(data + 1, size - 1)) != IO_OK)
        return 0;

    ChunkWriter saved;
    if (loaded->Save(&saved) != IO_OK || saved.Status() != IO_OK)
        fail("a loaded object does not save", classRow, target);
    Made second{desc->Create(TRUE)};
    ReferenceMaker* reloaded = second.object ? part(*second.object, target) : nullptr;
    if (!reloaded || load(*reloaded, saved.Bytes()) != IO_OK)
        fail("what a loaded object saves does not load", classRow, target);
    return 0;
}
