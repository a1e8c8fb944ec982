#pragma once
// The standalone host's core interface: directories, time, the cancel flag that Ctrl-C sets,
// the class directory behind CreateInstance, message boxes, which are recorded and printed to
// stderr unless the host runs quietly, and the log's warnings, which are recorded and handed to
// the warning handler the program installs.

#include "host/Interface.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

class ClassDesc2;

namespace standalone {

struct RecordedMessage {
    std::string text;
    std::string caption;
    UINT type = 0;
};

class StandaloneCore : public Interface {
public:
    HWND GetMainWindow() override { return mainWindow_; }
    BOOL GetQuietMode() override { return quiet_; }
    TimeValue GetTime() override { return time_; }
    int GetFrameRate() override { return frameRate_; }
    Color GetBackGround(TimeValue, Interval&) override { return background_; }
    const char* GetDir(int which) override;
    BOOL GetCancel() override { return cancel_.load(std::memory_order_relaxed); }
    void SetCancel(BOOL cancel) override { cancel_.store(cancel != FALSE, std::memory_order_relaxed); }
    ReferenceTarget* CreateInstance(SClass_ID superClass, const Class_ID& classId) override;
    Renderer* CreateDefaultScanlineRenderer() override
    {
        return scanlineFactory_ ? scanlineFactory_() : nullptr;
    }
    Renderer* GetCurrentRenderer() override { return currentRenderer_; }
    void DisableSceneRedraw() override { ++redrawSuspensions_; }
    void EnableSceneRedraw() override
    {
        redrawSuspensions_ = redrawSuspensions_ > 0 ? redrawSuspensions_ - 1 : 0;
    }
    int ShowMessageBox(HWND parent, const char* text, const char* caption, UINT type) override;
    int GetRenderThreads() override { return shadingThreads_; }
    void LogWarning(const char* text) override;

    void setQuietMode(bool quiet) { quiet_ = quiet; }
    void setTime(TimeValue t) { time_ = t; }
    void setFrameRate(int fps) { frameRate_ = fps > 0 ? fps : 30; }
    // Shading threads of scanline renderers that were given no count of their own (0: every core);
    // a plug-in renderer's inner renderer and its own render work follow it too.
    void setShadingThreads(int n) { shadingThreads_ = n > 0 ? n : 0; }
    int shadingThreads() const { return shadingThreads_; }
    // The background the renders of the scene in hand show (a render job sets it).
    void setBackground(const Color& c) { background_ = c; }
    void setDir(int which, std::string path) { dirs_[which] = std::move(path); }
    void setScanlineFactory(std::function<Renderer*()> factory) { scanlineFactory_ = std::move(factory); }
    void setCurrentRenderer(Renderer* renderer) { currentRenderer_ = renderer; }
    // Classes CreateInstance can make, each under the name scene documents use for it
    // ("Standard", "vmlMaterial", ...). Descriptors are not owned. A second registration of a
    // descriptor or a name is ignored.
    void registerClass(ClassDesc2* desc, std::string scriptName);
    ClassDesc2* findClass(const std::string& scriptName) const;
    // Registered names, in registration order, for error messages that list the valid ones.
    std::vector<std::string> classNames() const;

    const std::vector<RecordedMessage>& messages() const { return messages_; }
    void clearMessages() { messages_.clear(); }
    bool redrawSuspended() const { return redrawSuspensions_ > 0; }
    // Where message boxes are printed; stderr by default (tests point it elsewhere).
    void setMessageStream(std::FILE* stream) { messageStream_ = stream; }
    // The log's warnings, in order. Recorded always (quiet or not); each is also handed to the
    // handler when one is set, on the thread that logged it, one at a time.
    std::vector<std::string> warnings() const;
    void clearWarnings();
    void setWarningHandler(std::function<void(const std::string&)> handler);

private:
    int mainWindowToken_ = 0;
    HWND mainWindow_ = &mainWindowToken_;
    bool quiet_ = false;
    TimeValue time_ = 0;
    int frameRate_ = 30;
    Color background_{0.0f, 0.0f, 0.0f};
    int shadingThreads_ = 0;
    std::atomic<bool> cancel_{false};
    int redrawSuspensions_ = 0;
    std::map<int, std::string> dirs_;
    struct RegisteredClass {
        ClassDesc2* desc;
        std::string name;
    };
    std::vector<RegisteredClass> classes_;
    std::function<Renderer*()> scanlineFactory_;
    Renderer* currentRenderer_ = nullptr;
    std::vector<RecordedMessage> messages_;
    std::FILE* messageStream_ = stderr;
    mutable std::mutex warningsLock_;
    std::vector<std::string> warnings_;
    std::function<void(const std::string&)> warningHandler_;
};

}  // namespace standalone
