#pragma once
// One line element: a set of rules for which outlines and edges to find and how to draw them.
// Its settings live in two parameter blocks, "parameters" (reference 0) and "paint" (reference
// 1); the line map is the element's own reference 2, reached through the lineMap parameter.
// Drawing reads the flat LineSettings record, never the blocks.
//
// Elements are run by the line effect that owns them, not applied on their own. All operations
// come from the host's main thread.

#include "host/ClassID.h"
#include "host/Effect.h"
#include "line/LineDerived.h"
#include "line/LineSettings.h"

#include <string>

class IParamBlock2;
class Texmap;

namespace vml {

class LineFxManager;

inline constexpr Class_ID lineFxElementClassId{0x54022254, 0x03200207};

class LineFxElement : public Effect {
public:
    enum RefIndex : int { pblockRef = 0, paintBlockRef = 1, lineMapRef = 2, refCount = 3 };
    // Empty chunk that marks data this class saved itself.
    static constexpr USHORT markerChunk = 0x1010;

    // A new element without a type and with lineDefaultSettings applied. Blocks come from the
    // class descriptor once the registry has attached them, else the element builds them.
    LineFxElement();

    Class_ID ClassID() override { return lineFxElementClassId; }
    void GetClassName(std::string& s) override;  // strings::lineElementClass

    int NumParamBlocks() override { return 2; }
    IParamBlock2* GetParamBlock(int i) override;
    int NumRefs() override { return refCount; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    // A non-empty file name set into lineLoad or lineSave loads or saves that element file at once
    // (LineFiles.h); the names are never read as settings.
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;

    // 0 while lineOn is off; else the channels detection reads for the switches that are on, plus
    // velocity while lineBlur is non-zero at t. lineOn and the switches are read at time 0.
    DWORD GBufferChannelsRequired(TimeValue t) override;

    // The manager runs its elements; an element by itself draws nothing.
    void Apply(TimeValue, Bitmap*, RenderGlobalContext*, CheckAbortCallback*) override {}

    // Same type and block values; the line map is cloned and owned by the copy (shared when it
    // cannot be copied).
    ReferenceTarget* Clone() override;
    // The marker chunk, then the base effect's data; the blocks and the map are references.
    IOResult Save(ISave* isave) override;
    // Notes the marker chunk (loadedFromScene). From then on the type follows the restored
    // block's elemID, so a reloaded element keeps its type and its stored switches.
    IOResult Load(ILoad* iload) override;

    IParamBlock2* pblock() const { return pblock_; }
    IParamBlock2* paintBlock() const { return paintBlock_; }
    Texmap* lineMap() const { return lineMap_; }
    // A LineElementType, or lineElementTypeNone.
    int type() const { return type_; }
    bool loadedFromScene() const { return loadedFromScene_; }
    // The line effect holding this element as a reference; nullptr while none does.
    LineFxManager* manager() const { return manager_; }
    void setManager(LineFxManager* m) { manager_ = m; }
    // The record drawing reads.
    LineSettings& settings() { return settings_; }
    const LineSettings& settings() const { return settings_; }

    // Words 0-33 from "parameters" and 48-64 from "paint" at t; the derived words are left alone.
    void readSettings(TimeValue t, LineSettings& s);
    void readLineWords(TimeValue t, LineSettings& s);
    void readPaintWords(TimeValue t, LineSettings& s);
    // Writes words 0-28 and 48-64 into the blocks at t. With fromFile, also the detection switches
    // (29-33) that the element's type accepts; otherwise the switches are left as they are.
    void applySettings(TimeValue t, const LineSettings& s, bool fromFile);
    // Refreshes settings() for drawing at t: the words read from the blocks, then the derived
    // words. Returns whether the stamp's radius, stretch or angle changed since the last refresh.
    bool refreshSettings(TimeValue t);

    // Stores the type in type and elemID. An element that had no type gets the type's default
    // detection switch turned on.
    void setType(int type);
    // lineName becomes the type's display name.
    void setDefaultName();
    // Every "parameters" value back to its default except lineName and the type; the type's
    // default switch on again; then lineDefaultSettings applied.
    void resetToDefaults();

private:
    void makeBlocks();
    void followBlockType();

    IParamBlock2* pblock_ = nullptr;
    IParamBlock2* paintBlock_ = nullptr;
    Texmap* lineMap_ = nullptr;
    int type_ = -1;
    LineSettings settings_;
    LineShape shape_;  // the stamp shape of the last refresh
    bool loadedFromScene_ = false;
    bool loaded_ = false;  // Load has run: the blocks hold the type
    LineFxManager* manager_ = nullptr;
};

}  // namespace vml
