// Saving and loading of parameter blocks.
//
// Layout (chunk ids local to a block's data):
//   0x0100 header: i16 block id, i32 descriptor version
//   0x0200 parameter (holds sub-chunks), one per saved parameter:
//     0x0201 identity: i16 parameter id, i32 ParamType2
//     0x0202 value of a single parameter
//     0x0203 keys: u32 count, then count x (i32 time, value)
//     0x0204 table: u32 count, then count x value; a reference table stores a u8 per entry
//            (1 when it held a target) so that its size is bounded by the data
// A value is i32 for int and bool, f32 for the float types, 3 x f32 for RGBA colours and points,
// 4 x f32 for colours with alpha, and a string as writeString stores it.

#include "host/IParamBlock2.h"

#include "host/ClassDesc2.h"
#include "host/ParamIntake.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr USHORT kHeaderChunk = 0x0100;
constexpr USHORT kParamChunk = 0x0200;
constexpr USHORT kParamIdChunk = 0x0201;
constexpr USHORT kParamValueChunk = 0x0202;
constexpr USHORT kParamKeysChunk = 0x0203;
constexpr USHORT kParamTableChunk = 0x0204;

bool isIntStored(ParamType2 type)
{
    const ParamType2 b = baseType(type);
    return b == TYPE_INT || b == TYPE_BOOL;
}

int componentCount(ParamType2 type)
{
    switch (baseType(type)) {
    case TYPE_RGBA:
    case TYPE_POINT3: return 3;
    case TYPE_FRGBA: return 4;
    default: return 1;
    }
}

IOResult writeNumber(ISave* isave, ParamType2 type, const ParamNumber& n)
{
    if (isIntStored(type)) {
        const double v = std::isnan(n[0]) ? 0.0 : std::clamp(n[0], double(INT_MIN), double(INT_MAX));
        return writeValue(isave, static_cast<std::int32_t>(v));
    }
    for (int i = 0; i < componentCount(type); ++i) {
        if (writeValue(isave, static_cast<float>(n[static_cast<std::size_t>(i)])) != IO_OK)
            return IO_ERROR;
    }
    return IO_OK;
}

IOResult readNumber(ILoad* iload, ParamType2 type, ParamNumber& n)
{
    ParamNumber v{};
    if (isIntStored(type)) {
        std::int32_t i = 0;
        if (readValue(iload, i) != IO_OK)
            return IO_ERROR;
        v[0] = i;
    } else {
        for (int c = 0; c < componentCount(type); ++c) {
            float f = 0.0f;
            if (readValue(iload, f) != IO_OK)
                return IO_ERROR;
            v[static_cast<std::size_t>(c)] = f;
        }
    }
    n = v;
    return IO_OK;
}

}  // namespace

std::string IParamBlock2::loadSource(ILoad* iload) const
{
    ClassDesc2* cd = desc_->GetClassDesc();
    const char* className = cd ? cd->InternalName() : nullptr;
    std::string source = iload->SourceName();
    source += source.empty() ? "saved block \"" : ": saved block \"";
    source += desc_->InternalName() + "\"";
    if (className && *className)
        source += std::string(" of ") + className;
    return source;
}

IOResult IParamBlock2::Save(ISave* isave)
{
    IOResult res = IO_OK;
    auto keep = [&res](IOResult r) {
        if (r != IO_OK)
            res = IO_ERROR;
    };
    auto writeEntry = [&](ParamType2 type, const Entry& e) {
        if (isStringType(type))
            keep(writeString(isave, e.text));
        else if (isReferenceType(type))
            keep(writeValue(isave, static_cast<std::uint8_t>(e.ref ? 1 : 0)));
        else
            keep(writeNumber(isave, type, e.number));
    };

    isave->BeginChunk(kHeaderChunk);
    keep(writeValue(isave, static_cast<std::int16_t>(ID())));
    keep(writeValue(isave, static_cast<std::int32_t>(GetVersion())));
    isave->EndChunk();

    for (int p = 0; p < desc_->Count(); ++p) {
        const ParamDef& def = desc_->GetParamDefByIndex(p);
        const bool table = isTableType(def.type);
        if ((def.flags & P_TRANSIENT) || def.ownersRef() || (isReferenceType(def.type) && !table))
            continue;
        const Slot& slot = slots_[static_cast<std::size_t>(p)];
        isave->BeginChunk(kParamChunk);

        isave->BeginChunk(kParamIdChunk);
        keep(writeValue(isave, static_cast<std::int16_t>(def.id)));
        keep(writeValue(isave, static_cast<std::int32_t>(def.type)));
        isave->EndChunk();

        if (table) {
            isave->BeginChunk(kParamTableChunk);
            keep(writeValue(isave, static_cast<std::uint32_t>(slot.entries.size())));
            for (const Entry& e : slot.entries)
                writeEntry(def.type, e);
            isave->EndChunk();
        } else {
            isave->BeginChunk(kParamValueChunk);
            writeEntry(def.type, slot.entries[0]);
            isave->EndChunk();
            if (!slot.keys.empty()) {
                isave->BeginChunk(kParamKeysChunk);
                keep(writeValue(isave, static_cast<std::uint32_t>(slot.keys.count())));
                for (int k = 0; k < slot.keys.count(); ++k) {
                    keep(writeValue(isave, static_cast<std::int32_t>(slot.keys.key(k).time)));
                    keep(writeNumber(isave, def.type, slot.keys.key(k).value));
                }
                isave->EndChunk();
            }
        }
        isave->EndChunk();
    }
    return res;
}

IOResult IParamBlock2::Load(ILoad* iload)
{
    IOResult res;
    while ((res = iload->OpenChunk()) == IO_OK) {
        IOResult inner = IO_OK;
        switch (iload->CurChunkID()) {
        case kHeaderChunk: inner = loadHeader(iload); break;
        case kParamChunk: inner = loadParam(iload); break;
        default: break;  // unknown: skipped by CloseChunk
        }
        if (iload->CloseChunk() != IO_OK || inner != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}

IOResult IParamBlock2::loadHeader(ILoad* iload)
{
    std::int16_t id = 0;
    std::int32_t version = 0;
    if (readValue(iload, id) != IO_OK || readValue(iload, version) != IO_OK)
        return IO_ERROR;
    loadedVersion_ = version;
    return IO_OK;
}

IOResult IParamBlock2::loadParam(ILoad* iload)
{
    // The identity comes first; a parameter chunk without one is not ours and is skipped.
    IOResult res = iload->OpenChunk();
    if (res != IO_OK)
        return res == IO_END ? IO_OK : IO_ERROR;
    if (iload->CurChunkID() != kParamIdChunk)
        return iload->CloseChunk();
    std::int16_t id = 0;
    std::int32_t storedType = 0;
    const bool named = readValue(iload, id) == IO_OK && readValue(iload, storedType) == IO_OK;
    if (iload->CloseChunk() != IO_OK || !named)
        return IO_ERROR;

    const int p = desc_->IDtoIndex(id);
    if (p < 0)
        return IO_OK;
    const ParamDef& def = desc_->GetParamDefByIndex(p);
    if (static_cast<int>(def.type) != storedType || (def.flags & P_TRANSIENT) || def.ownersRef())
        return IO_OK;
    const ParamType2 type = def.type;
    const bool table = isTableType(type);
    Slot& slot = slots_[static_cast<std::size_t>(p)];
    slot.keys.clear();

    // Stored numbers come from outside: held to the parameter's range, and one that is not finite
    // leaves what the entry held (the current value, or the default of a new table entry).
    ParamIntake intake(loadSource(iload));
    auto readEntry = [&](Entry& e) -> IOResult {
        if (isStringType(type))
            return readString(iload, e.text);
        if (isReferenceType(type)) {
            std::uint8_t held = 0;
            return readValue(iload, held);  // the host restores the target itself
        }
        ParamNumber n;
        if (readNumber(iload, type, n) != IO_OK)
            return IO_ERROR;
        intake.take(def, n, e.number);
        e.number = normalized(type, n);
        return IO_OK;
    };
    auto loadValue = [&]() -> IOResult {
        Entry e = slot.entries[0];
        if (readEntry(e) != IO_OK)
            return IO_ERROR;
        slot.entries[0] = std::move(e);
        return IO_OK;
    };
    // A key whose number is refused takes the parameter's value (as loaded, or as it was).
    auto loadKeys = [&]() -> IOResult {
        std::uint32_t count = 0;
        if (readValue(iload, count) != IO_OK)
            return IO_ERROR;
        // Read one by one, so a corrupt count cannot allocate beyond the data.
        std::vector<KeyTrack::Key> keys;
        for (std::uint32_t k = 0; k < count; ++k) {
            std::int32_t t = 0;
            ParamNumber n;
            if (readValue(iload, t) != IO_OK || readNumber(iload, type, n) != IO_OK)
                return IO_ERROR;
            ParamIntake(intake.source() + ", key at tick " + std::to_string(t))
                .take(def, n, slot.entries[0].number);
            keys.push_back({t, normalized(type, n)});
        }
        // Set in time order each key lands at the end; a track stored backwards would otherwise
        // move every key at each insert. Stable, so of two keys at one time the later still wins.
        std::stable_sort(keys.begin(), keys.end(),
                         [](const KeyTrack::Key& a, const KeyTrack::Key& b) { return a.time < b.time; });
        KeyTrack track;
        for (const KeyTrack::Key& key : keys)
            track.set(key.time, key.value);
        slot.keys = std::move(track);
        return IO_OK;
    };
    auto loadTable = [&]() -> IOResult {
        std::uint32_t count = 0;
        if (readValue(iload, count) != IO_OK)
            return IO_ERROR;
        // Entries are read one by one, so a corrupt count cannot allocate beyond the data.
        std::vector<Entry> entries;
        for (std::uint32_t k = 0; k < count; ++k) {
            Entry e = defaultEntry(def);
            if (readEntry(e) != IO_OK)
                return IO_ERROR;
            entries.push_back(std::move(e));
        }
        resize(p, 0);
        if (isReferenceType(type))
            resize(p, entries.size());
        else
            slot.entries = std::move(entries);
        return IO_OK;
    };

    while ((res = iload->OpenChunk()) == IO_OK) {
        IOResult inner = IO_OK;
        const USHORT chunk = iload->CurChunkID();
        if (chunk == kParamValueChunk && !table && !isReferenceType(type))
            inner = loadValue();
        else if (chunk == kParamKeysChunk && !table && def.animatable())
            inner = loadKeys();
        else if (chunk == kParamTableChunk && table)
            inner = loadTable();
        if (iload->CloseChunk() != IO_OK || inner != IO_OK)
            return IO_ERROR;
    }
    return res == IO_END ? IO_OK : IO_ERROR;
}
