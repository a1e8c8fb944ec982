#pragma once
// The line effect: a host render effect owning an ordered list of line elements, which it draws
// over the rendered image one after the other. This class holds the list and its editing; the
// per-frame run and the rollouts are built on it.
//
// References 0-3 are the effect's four parameter blocks, 4 + i is element i. While a scene loads,
// the list holds empty entries until the host restores the elements. All operations come from the
// host's main thread.

#include "host/ClassID.h"
#include "host/Effect.h"

#include <string>
#include <vector>

class IParamBlock2;

namespace vml {

class LineFxElement;
class LineRollouts;
class vmlRenderer;

inline constexpr Class_ID lineFxManagerClassId{0x54022254, 0x03200206};

class LineFxManager : public Effect {
public:
    enum RefIndex : int {
        paramsRef = 0,        // "parameters": the effect's own settings
        elementBlockRef = 1,  // hosts the selected element's rollout
        paintBlockRef = 2,    // hosts the selected element's paint rollout
        versionBlockRef = 3,
        firstElementRef = 4,
    };
    static constexpr int blockCount = 4;
    // Chunks of Save: the element count, then the base effect's data.
    static constexpr USHORT countChunk = 0x4000;
    static constexpr USHORT baseChunk = 0x4001;
    // More elements than this in a scene is taken for a damaged count.
    static constexpr int maxLoadedElements = 1 << 16;

    // An empty list with the first element selected. Blocks come from the class descriptor once
    // the registry has attached them, else the effect builds them.
    LineFxManager();
    // Drops every reference before the list goes.
    ~LineFxManager() override;
    void DeleteThis() override;

    Class_ID ClassID() override { return lineFxManagerClassId; }
    void GetClassName(std::string& s) override;  // strings::lineEffectClass

    int NumParamBlocks() override { return blockCount; }
    IParamBlock2* GetParamBlock(int i) override;
    int NumRefs() override { return firstElementRef + elementCount(); }
    ReferenceTarget* GetReference(int i) override;
    // Storing an element also makes this effect its manager.
    void SetReference(int i, ReferenceTarget* target) override;
    // Passes element and block changes on to the effect's dependents. A non-empty file name set into
    // lineLoadAll or lineSaveAll loads or saves that lines file at once (LineFiles.h); the names are
    // never read as settings.
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;

    // The main rollout, the selected element's pages and the version rollout (LineRollouts.h);
    // opening them selects the first element. nullptr while they are already open or the host shows
    // no dialogs.
    EffectParamDlg* CreateParamDialog(IRendParams* ip) override;
    // The open rollouts, told of changes to what they show; nullptr while closed.
    LineRollouts* rollouts() const { return rollouts_; }
    void setRollouts(LineRollouts* r) { rollouts_ = r; }

    // Z, material ID and normal, with every element's channels.
    DWORD GBufferChannelsRequired(TimeValue t) override;
    // Draws every element over the rendered image, the last first so the first lies on top; the
    // lines also go to the render's line render elements, and only there while
    // lineOutRenderElement is on at t. `cb` reports progress and may abort the current element;
    // the next element still runs. With a painterly renderer in its frame, or after it as the
    // host's renderer (vmlRenderer::activePainter), the lines are wet paint in its canvas. Any
    // allocation that fails ends the drawing, and that renderer, if any, is told it ran short of
    // memory (which fails its frame).
    void Apply(TimeValue t, Bitmap* bm, RenderGlobalContext* gc, CheckAbortCallback* cb) override;

    // Same block values, selection and elements (each cloned, in order).
    ReferenceTarget* Clone() override;
    // Chunk countChunk with the element count (32-bit), then baseChunk around the base data.
    IOResult Save(ISave* isave) override;
    // Drops the current elements and sizes the list to the stored count with empty entries, which
    // the host then fills through the element references. Unknown chunks are skipped. IO_ERROR for
    // a count below 0 or above maxLoadedElements.
    IOResult Load(ILoad* iload) override;

    IParamBlock2* pblock() const { return blocks_[paramsRef]; }

    // The list, in drawing order. An entry is nullptr while a scene loads or after its element
    // was deleted by someone else.
    int elementCount() const { return static_cast<int>(elements_.size()); }
    LineFxElement* element(int i) const;        // nullptr outside the list
    int indexOf(const LineFxElement* e) const;  // -1 when not in the list

    // The element shown in the rollouts. May lie outside the list (an empty list selects 0).
    int selected() const { return selected_; }
    void setSelected(int i) { selected_ = i; }
    LineFxElement* selectedElement() const { return element(selected_); }

    // A new element of `type` with its type's default switch and name, inserted at `index`
    // (appended when index is negative or past the end). The effect owns it. Notifies dependents.
    // nullptr when the element cannot be made.
    LineFxElement* addElement(int type, int index = -1);
    // Takes element i out of the list (and the references) and destroys it if the effect owns it.
    // Notifies dependents. False, changing nothing, outside the list.
    bool removeElement(int i);
    // Swaps element i with the one above / below. Notify dependents. False, changing nothing, when
    // the move would leave the list.
    bool moveUp(int i);
    bool moveDown(int i);
    // Moves element `from` to position `to`, the others keeping their order. Notifies dependents.
    // False, changing nothing, when either lies outside the list.
    bool moveElement(int from, int to);
    // Appends a copy of the selected element: its type, both blocks and its own copy of the line
    // map. Notifies dependents. nullptr when nothing is selected or the copy cannot be made.
    LineFxElement* copySelected();

private:
    void makeBlocks();
    // Apply's work, throwing std::bad_alloc when an allocation fails.
    void applyElements(TimeValue t, Bitmap& bm, RenderGlobalContext* gc, CheckAbortCallback* cb,
                       vmlRenderer* painter);
    // Puts an element made here into the list at `index`, owned by the effect.
    void insertElement(LineFxElement* e, int index);
    void notifyChanged();

    // Every element this effect holds from now on leaves the list, destroyed when owned here.
    void dropElements();

    IParamBlock2* blocks_[blockCount] = {};
    std::vector<LineFxElement*> elements_;
    int selected_ = 0;
    LineRollouts* rollouts_ = nullptr;
    // A target being deleted: only its address may be used while its slots are cleared.
    const ReferenceTarget* dying_ = nullptr;
};

}  // namespace vml
