#pragma once
// The painterly renderer. It drives the host's default scanline renderer (the inner renderer)
// and paints inside its frame: at the pre-frame notification it records the frame, while the
// host shades the material files samples and strokes into its stores, and at the post-frame
// notification (before the render effects) it paints the strokes onto its canvas and stores the
// canvas into the output bitmap.
//
// Open, Render and Close come from one host thread. Inside the inner render the host shades on
// several threads; they reach the renderer through currentRenderer and write only the stores
// guarded by the shading locks (shell/Locks.h). Failures are return values and flags: an
// allocation failure anywhere in the frame sets outOfMemory and the frame fails with the message
// strings::notEnoughMemoryStop; every failure and cancel leaves the renderer ready for the next frame or
// Close.

#include "host/Renderer.h"
#include "paint/vmlRaster.h"
#include "paint/vmlRasterRS.h"
#include "renderer/ArenaHooks.h"
#include "renderer/BrushCache.h"
#include "renderer/MultipassController.h"
#include "renderer/NodeRecords.h"
#include "renderer/RendererSettings.h"
#include "renderer/RowRecords.h"
#include "renderer/SampleGrid.h"
#include "renderer/StrokeList.h"
#include "renderer/StrokePaintContext.h"
#include "renderer/VmlRenderContext.h"
#include "renderer/VmlRenderElementMgr.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class IParamBlock2;
class IRenderElement;
class PBBitmap;
class Texmap;
struct NotifyInfo;

namespace vml {

class RenderBaseDlgProc;
class RenderParamDlgProc;
class RenderVersionDlgProc;

inline constexpr Class_ID vmlRendererClassId{0x54022254, 0x0320071D};

// Below this much available physical memory the low-memory warning (strings::notEnoughMemoryWarning) is
// shown.
inline constexpr std::uint64_t lowMemoryThreshold = 0xA00000;

class vmlRenderer final : public Renderer, private ArenaHooks, private CanvasAllocationObserver {
public:
    // References: the three blocks, then the bleed-strength map.
    enum RefIndex { paramsRef = 0, versionRef = 1, summaryRef = 2, blurstrMapRef = 3, refCount = 4 };
    // Scene-file chunks.
    enum ChunkId : USHORT {
        innerRendererChunk = 0x120,
        filterClassChunk = 0x121,
        filterDataChunk = 0x122,
        filterParamsChunk = 0x123,
    };

    // fresh: a new renderer makes its inner renderer; one about to be cloned or loaded does not
    // (the clone or the scene supplies it).
    explicit vmlRenderer(bool fresh = true);
    ~vmlRenderer() override;

    // Host renderer interface.
    int Open(INode* scene, INode* viewNode, ViewParams* viewPar, RendParams& rp, HWND hwnd,
             RendProgressCallback* prog) override;
    int Render(TimeValue t, Bitmap* tobm, FrameRendParams& frp, HWND hwnd, RendProgressCallback* prog,
               ViewParams* viewPar) override;
    void Close(HWND hwnd, RendProgressCallback* prog) override;
    bool ApplyRenderEffects(TimeValue t, Bitmap* bitmap, bool updateDisplay) override;
    // The inner renderer's parameters, then every parameter of block "parameters".
    void ResetParams() override;
    // The settings and version rollouts (templates 108 and 106), or with prog the summary (112).
    RendParamDlg* CreateParamDialog(IRendParams* ir, BOOL prog = FALSE) override;
    int GetAAFilterSupport() override;

    // The render elements the renderer accepts in the host's list: the line element and two
    // foreign classes. Its own pen-stroke element is not among them: it supplies one itself.
    bool IsCompatible(IRenderElement* element);

    Class_ID ClassID() override { return vmlRendererClassId; }
    void GetClassName(std::string& s) override;
    int NumRefs() override { return refCount; }
    ReferenceTarget* GetReference(int i) override;
    void SetReference(int i, ReferenceTarget* target) override;
    RefResult NotifyRefChanged(const Interval& changeInt, ReferenceTarget* hTarget, PartID& partID,
                               RefMessage message, BOOL propagate) override;
    int NumParamBlocks() override { return 3; }
    IParamBlock2* GetParamBlock(int i) override;
    // Sub-animatables: the four references, named by the string table.
    int NumSubs() const { return refCount; }
    std::string SubAnimName(int i) const;

    // A renderer with clones of the blocks and the map, and a clone of the inner renderer (a
    // fresh default one when the inner renderer cannot be cloned).
    ReferenceTarget* Clone() override;
    IOResult Save(ISave* isave) override;
    IOResult Load(ILoad* iload) override;

    // The renderer whose painting the line effect may draw into, also between frames; null when
    // there is none or its canvas holds no pixels.
    static vmlRenderer* activePainter();

    // Frame hooks, registered for notifications 22 and 23 between Open and Close; param is the
    // renderer, info->callParam the frame's RenderGlobalContext.
    static void onPreFrame(void* param, NotifyInfo* info);
    static void onPostFrame(void* param, NotifyInfo* info);

    // The low-memory warning (strings::notEnoughMemoryWarning) when armed and `availableBytes` is below
    // lowMemoryThreshold; showing it disarms it. The first form asks the system.
    void checkLowMemory();
    void checkLowMemoryWith(std::uint64_t availableBytes);

    // Fault injection: from now on every allocation of a frame (its arenas, canvases, line-effect
    // buffers and G-buffer copies) asks `faults` first, and one it fails takes the frame's
    // out-of-memory path. Null (the default) asks nobody. Not owned.
    void setAllocationFaults(AllocationFaults* faults) { faults_.store(faults, std::memory_order_release); }
    // What the frame's allocators report to and ask: the line effect's buffers go through it too.
    ArenaHooks* memoryHooks() { return this; }

    // Multipass node lists (block "parameters", tables multipassNode and multipassID, always the
    // same length). refresh: the settings rollout's list is refreshed when it is open.
    void addNodes(std::span<INode* const> nodes, int passId);
    void removeNodes(std::span<INode* const> nodes, bool refresh);
    // Removes every entry whose node is gone or has become a group member.
    void purgeNodes(bool refresh);

    // Stores and operations the material and painter use while currentRenderer is set.
    bool insertSample(int x, int y, const PixelSample& sample)
    {
        return sampleGrid_.insertSample(x, y, sample);
    }
    bool acceptSample(const RowSampleQuery& sample, bool hiddenFace)
    {
        return rowRecords_.acceptSample(sample, hiddenFace, cropY_, nodeRecords_);
    }
    bool fileStroke(const vmlStrokeRecord& record) { return strokes_.fileStroke(record); }
    NodeRecords& nodeRecords() { return nodeRecords_; }
    StrokeList& strokes() { return strokes_; }
    BrushCache& brushCache() { return brushCache_; }

    IParamBlock2* paramBlock() const { return pblocks_[paramsRef]; }
    Texmap* bleedStrengthMap() const { return blurstrMap_; }
    Renderer* innerRenderer() const { return innerRenderer_.get(); }
    const RendererSettings& settings() const { return settings_; }
    // Reads the cached parameters again, for the render kind of the last Open.
    void readSettings();

    vmlRasterBase* canvas() const { return canvas_; }

    // Frame state, valid while a frame is in progress.
    Bitmap* outputBitmap() const { return outputBitmap_; }
    RenderGlobalContext* globalContext() const { return globalContext_; }
    RendParams* rendParams() const { return rendParams_; }
    FrameRendParams* frameParams() const { return frameParams_; }
    int width() const { return width_; }
    int height() const { return height_; }
    TimeValue frameTime() const { return frameTime_; }
    float frameNumber() const { return frameNumber_; }
    int cropX() const { return cropX_; }
    int cropY() const { return cropY_; }
    int currentPass() const { return passState_.pass(); }
    std::size_t strokeCount() const { return strokes_.strokeCount(); }
    // The passes the last frame rendered, each with the strokes it painted.
    struct PassStrokes {
        int pass = 0;
        std::size_t strokes = 0;
    };
    const std::vector<PassStrokes>& passStrokes() const { return passStrokes_; }
    bool inMtlEdit() const;

    // Where the last frame's painting spent its time: painting strokes, and bleeding (the steps
    // between strokes and the final phase). Zero for a frame without strokes.
    struct PaintTimes {
        double strokeSeconds = 0.0;
        double bleedSeconds = 0.0;
        int bleedSteps = 0;
        StrokePaintStats strokes;
        std::size_t brushTilesRendered = 0;  // brush-cache misses
    };
    const PaintTimes& paintTimes() const { return paintTimes_; }

    // Set by any allocation failure during the frame (from shading threads too).
    void setOutOfMemory() { outOfMemory_.store(true, std::memory_order_relaxed); }
    bool isOutOfMemory() const { return outOfMemory_.load(std::memory_order_relaxed); }
    bool abortRequested() const { return abortRequested_; }

    // The cut-and-paste clipboard of the multipass lists is usable from construction and after a
    // cut; loading a renderer makes it unusable.
    bool clipboardUsable() const { return clipboardUsable_; }
    void setClipboardUsable(bool on) { clipboardUsable_ = on; }

    // The open rollouts (dialog handlers register themselves while open), or null.
    RenderBaseDlgProc* settingsRollout() const { return settingsRollout_; }
    RenderVersionDlgProc* versionRollout() const { return versionRollout_; }
    RenderParamDlgProc* summaryRollout() const { return summaryRollout_; }
    void setSettingsRollout(RenderBaseDlgProc* dlg) { settingsRollout_ = dlg; }
    void setVersionRollout(RenderVersionDlgProc* dlg) { versionRollout_ = dlg; }
    void setSummaryRollout(RenderParamDlgProc* dlg) { summaryRollout_ = dlg; }

private:
    // ArenaHooks
    void lowMemoryCheck() override { checkLowMemory(); }
    void outOfMemory() override { setOutOfMemory(); }
    bool refuseAllocation(AllocationSite site) override;
    // CanvasAllocationObserver
    void beforeAllocation() override;
    void allocationProgress(int row, int rowCount) override;

    void makeStrokeElement();
    void registerNodeNotifications();
    void unregisterNodeNotifications();
    void registerFrameHooks();
    void unregisterFrameHooks();

    // Undoes what Open did to the host and frees the per-open stores (Close without the inner
    // renderer).
    void releaseOpenState();
    // One pass's preparation; false when anything could not be allocated.
    bool preparePass();
    bool prepareStrokeElementBitmap();
    void reportMemoryFailure();
    void endFrameState();

    void preFrame(RenderGlobalContext* gc);
    void postFrame();
    void paint();
    void setBleedMask();
    void paintStrokes();
    void compositePenStrokes();

    // The host's cancel request, or an abort answered by the progress callback.
    bool cancelled();
    void setTitle(int stringId);
    void reportProgress(int done, int total);

    static void onNodeDeleted(void* param, NotifyInfo* info);
    static void onSelectedNodesDeleted(void* param, NotifyInfo* info);
    static void onNodeRenamed(void* param, NotifyInfo* info);
    static void onNodeLinked(void* param, NotifyInfo* info);
    static void onNodeUnlinked(void* param, NotifyInfo* info);

    IParamBlock2* pblocks_[3] = {};
    Texmap* blurstrMap_ = nullptr;

    std::unique_ptr<Renderer> innerRenderer_;
    vmlRaster fullCanvas_;
    vmlRasterRS lightCanvas_;
    vmlRasterRS editorCanvas_;
    vmlRasterBase* canvas_ = &fullCanvas_;
    RendererSettings settings_;

    VmlRenderContext renderContext_;
    SampleGrid sampleGrid_;
    RowRecords rowRecords_;
    NodeRecords nodeRecords_;
    BrushCache brushCache_;
    StrokeList strokes_;
    PaintTimes paintTimes_;
    std::vector<PassStrokes> passStrokes_;

    Bitmap* outputBitmap_ = nullptr;
    RendProgressCallback* progress_ = nullptr;
    RendParams* rendParams_ = nullptr;
    FrameRendParams* frameParams_ = nullptr;
    RenderGlobalContext* globalContext_ = nullptr;
    int width_ = 0, height_ = 0;
    TimeValue frameTime_ = 0;
    float frameNumber_ = 0.5f;
    int cropX_ = 0, cropY_ = 0;
    bool progressAborted_ = false;
    bool hookFailed_ = false;    // a frame hook failed for another reason than memory
    bool canvasLoaded_ = false;  // the pass's canvas holds the frame

    std::atomic<bool> outOfMemory_{false};
    std::atomic<AllocationFaults*> faults_{nullptr};
    bool abortRequested_ = false;
    bool isOpen_ = false;
    bool hooksRegistered_ = false;
    bool lastOpenInMtlEdit_ = false;

    MultipassController passState_;
    VmlRenderElementMgr elementManager_;
    IRenderElementMgr* savedElementManager_ = nullptr;
    IRenderElement* strokeElement_ = nullptr;  // owned
    std::unique_ptr<PBBitmap> strokeHolder_;
    bool strokeBitmapMade_ = false;

    bool clipboardUsable_ = true;
    RenderBaseDlgProc* settingsRollout_ = nullptr;
    RenderVersionDlgProc* versionRollout_ = nullptr;
    RenderParamDlgProc* summaryRollout_ = nullptr;
};

// The renderer whose frame is in progress (set only inside Render), and the one that most
// recently started a pass (kept after the frame for activePainter).
inline vmlRenderer* currentRenderer = nullptr;
inline vmlRenderer* lastRenderer = nullptr;
// Whether the low-memory warning may still be shown in this open.
inline std::atomic<bool> memoryWarningArmed{false};

}  // namespace vml
