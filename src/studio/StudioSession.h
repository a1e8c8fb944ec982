#pragma once
// One scene document open in the studio: the scene, the rollouts of the thing being edited, the
// history of edits for undo and redo, saving into the document, and the pictures the editor
// shows (rollout previews, the material sample, the viewport) rendered on a thread of its own.
//
// Every call may come from any request thread. The scene is used under one lock; an edit first
// cancels the render in progress (the host's cancel query), so it never waits for a whole frame,
// and the viewport starts again after it: a quick frame at a quarter of the preview size, then
// the preview size, then the material sample and the plain render for the before/after view.
//
// Undo rebuilds the scene from the document's text as it was opened and replays the remaining
// edits: every edit, whatever it changed (values, keys, line elements), goes back exactly.

#include "standalone/MaterialSample.h"
#include "standalone/RenderJob.h"
#include "standalone/ui/RolloutState.h"
#include "studio/StudioEvents.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class Bitmap;
class ParamDlg;
class RendParamDlg;
class Renderer;

namespace standalone {
class Scene;
class StandaloneCore;
class MemoryDialogs;
namespace document {
class DocumentEdits;
}
}  // namespace standalone

namespace studio {

using Json = nlohmann::ordered_json;

// A thing with rollouts: kind "renderer", "material", "map" or "effect" (name or place in the list).
struct Thing {
    std::string kind;
    std::string name;
    bool operator==(const Thing&) const = default;
};

// A request the session cannot answer; status is the HTTP status to answer with.
class StudioError : public std::runtime_error {
public:
    StudioError(int status, const std::string& what) : std::runtime_error(what), status_(status) {}
    int status() const { return status_; }

private:
    int status_;
};

struct StudioOptions {
    int previewWidth = 640, previewHeight = 360;  // the viewport fits the render size into this box
};

class StudioSession {
public:
    // Throws standalone::SceneError when the document does not load.
    StudioSession(std::string documentPath, standalone::StandaloneCore& core, StudioEvents& events,
                  StudioOptions options = {});
    ~StudioSession();
    StudioSession(const StudioSession&) = delete;
    StudioSession& operator=(const StudioSession&) = delete;

    Json tree();
    // The answers below are the editor's state: {ok, message, version, canUndo, canRedo, dirty,
    // thing, pages}. They throw StudioError for requests that name nothing there is.
    Json open(const Thing& thing);
    Json act(const standalone::RolloutEvent& event);
    Json undo();
    Json redo();
    Json setFrame(int frame);
    Json state();
    // {ok, written, message} or {ok: false, error}.
    Json save();
    Json status();

    // PNG bytes; empty when there is no such picture (yet).
    std::string previewPng(int dialog, int id);
    // The open material's sample; waits up to waitMs for one of the current state.
    std::string samplePng(standalone::SampleShape shape, int size, int waitMs);
    // layer: "painted", "plain" or a render element's name.
    std::string viewportPng(const std::string& layer);
    // The full-size frame (or, with range, the document's frames, numbered) to the document's
    // output, on the render thread. False with error when one is already waiting.
    bool startFullRender(bool range, std::string& error);

    // Stops the render thread (also done by the destructor).
    void stop();

private:
    struct Step {
        Thing thing;
        int frame = 0;
        standalone::RolloutEvent event;
    };
    class RenderProgress;

    // Under lock_.
    void load(const std::string& text);
    void openRollouts(const Thing& thing);
    void closeRollouts();
    // Opens thing's rollouts afresh (showing the values at the current time); none when empty.
    void reopenRollouts(const Thing& thing);
    bool applyStep(const Step& step, std::string& message);
    void rebuild();
    void setTime(int frame);
    Json stateLocked(bool ok, const std::string& message);
    Renderer* viewportRenderer();
    std::pair<int, int> previewSize() const;

    // The render thread.
    void renderLoop();
    bool renderViewport(std::uint64_t generation, int width, int height, bool quick);
    void renderSample(std::uint64_t generation);
    void renderPlain(std::uint64_t generation);
    void renderFull(bool range);
    // One frame of the scene at the core's time with renderer, its render elements' pictures
    // into elements when given.
    standalone::RenderJobResult renderScene(Renderer& renderer, const char* title, Bitmap& image,
                                            std::map<std::string, std::string>* elements);
    // The edit lock: cancels the render in progress, then takes the scene.
    std::unique_lock<std::mutex> lockForEdit();
    void changed();  // after an edit: a new generation for the render thread

    std::string path_;
    standalone::StandaloneCore& core_;
    StudioEvents& events_;
    StudioOptions options_;

    std::mutex lock_;  // the scene, the rollouts, the history
    std::string baseText_;
    std::unique_ptr<standalone::Scene> scene_;
    std::unique_ptr<standalone::document::DocumentEdits> edits_;
    std::unique_ptr<standalone::MemoryDialogs> ui_;
    std::unique_ptr<ParamDlg> dialog_;
    std::unique_ptr<RendParamDlg> rendererDialog_;
    std::unique_ptr<Renderer> scanline_;  // the viewport's renderer when the scene names none
    Thing thing_;
    int frame_ = 0;
    std::vector<Step> history_;
    std::size_t applied_ = 0;  // history_[0, applied_) are in effect
    std::size_t saved_ = 0;    // applied_ at the last save (or open)
    std::atomic<std::uint64_t> version_{1};

    // Pictures, under pictures_.
    std::mutex pictures_;
    std::condition_variable pictureReady_;
    std::map<std::string, std::string> viewport_;  // layer -> PNG
    std::map<std::pair<int, int>, std::string> previews_;
    std::string openKind_;  // the kind of thing whose rollouts are open
    std::string sample_;
    std::uint64_t sampleGeneration_ = 0;
    standalone::SampleShape sampleShape_ = standalone::SampleShape::sphere;
    int sampleSize_ = 160;
    std::uint64_t frameNumber_ = 0;
    bool picturesClosed_ = false;  // stopped: no picture will come

    // The render thread's work.
    std::mutex work_;
    std::condition_variable wake_;
    std::uint64_t generation_ = 1;  // bumped by every change
    bool fullRender_ = false;
    bool fullRange_ = false;
    bool stopping_ = false;
    std::atomic<bool> rendering_{false};
    std::atomic<bool> editing_{false};
    std::thread thread_;
};

}  // namespace studio
