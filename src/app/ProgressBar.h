#pragma once
// The render progress callback of the CLI: a one-line bar on stderr that redraws in place when
// stderr is a terminal, and otherwise prints each new title once (so logs stay short). The plain
// style is for programs that run the CLI (the Blender add-on): one `progress 0.42 TITLE` line each
// time the fraction of the current stage reaches a new hundredth. It also answers the cancel
// request that Ctrl-C sets.

#include "host/RendParams.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace app {

enum class ProgressStyle { bar, plain };

class ProgressBar : public RendProgressCallback {
public:
    explicit ProgressBar(bool enabled, std::FILE* stream = stderr, ProgressStyle style = ProgressStyle::bar);
    ~ProgressBar() override;

    // Shown before the title, e.g. the frame ("frame 12: "); not in the plain style.
    void setPrefix(std::string prefix) { prefix_ = std::move(prefix); }
    void SetTitle(const char* title) override;
    int Progress(int done, int total) override;
    // Clears the bar's line so normal output can follow.
    void finish();

private:
    void draw(bool force);
    void printPlain();

    bool enabled_;
    bool interactive_;
    bool plain_;
    int lastHundredth_ = -1;
    std::FILE* stream_;
    std::string prefix_;
    std::string title_;
    int done_ = 0, total_ = 0;
    int lastPermille_ = -1;
    std::chrono::steady_clock::time_point lastDraw_{};
    bool lineDirty_ = false;
};

}  // namespace app
