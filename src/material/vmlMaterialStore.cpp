// Copies and persistence of the material.

#include "host/IParamBlock2.h"
#include "host/Texmap.h"
#include "material/vmlMaterial.h"

#include <memory>
#include <new>

namespace vml {

ReferenceTarget* vmlMaterial::Clone()
{
    std::unique_ptr<vmlMaterial> copy;
    try {
        copy.reset(new vmlMaterial(Bare{}));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    copy->SetName(GetName());
    copy->SetGBufferID(GetGBufferID());
    for (int i = 0; i < blockCount; ++i) {
        if (blocks_[i] && copy->blocks_[i])
            copy->blocks_[i]->CopyValuesFrom(*blocks_[i]);
    }
    // Slots that are empty here stay empty in the copy: it shades exactly like the original.
    for (int i = baseMaterialRef; i < refCount; ++i) {
        if (ReferenceTarget* target = GetReference(i))
            copy->replaceRef(i, copy->cloneTarget(target));
    }
    return copy.release();
}

IOResult vmlMaterial::Save(ISave* isave)
{
    isave->BeginChunk(mtlBaseChunk);
    IOResult res = writeString(isave, GetName());
    if (res == IO_OK)
        res = writeValue(isave, static_cast<ULONG>(GetGBufferID()));
    isave->EndChunk();
    return res;
}

IOResult vmlMaterial::Load(ILoad* iload)
{
    // A loaded material is what the scene holds: its blocks, base material and maps are restored
    // by the host as references, so the defaults must not replace them at the next update.
    needsInit_ = false;
    ivalid_.SetEmpty();
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        IOResult chunk = IO_OK;
        if (iload->CurChunkID() == mtlBaseChunk) {
            std::string name;
            ULONG gbufferId = 0;
            chunk = readString(iload, name);
            if (chunk == IO_OK)
                chunk = readValue(iload, gbufferId);
            if (chunk == IO_OK) {
                SetName(std::move(name));
                SetGBufferID(gbufferId);
            }
        }
        // Any other chunk (0x1010 of older scenes among them) is skipped.
        if (chunk != IO_OK)
            return chunk;
        if (iload->CloseChunk() != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : res;
}

}  // namespace vml
