#pragma once
// The render progress callback of the CLI: a one-line bar on stderr that redraws in place when
// stderr is a terminal, and otherwise prints each new title once (so logs stay short). It also
// answers the cancel request that Ctrl-C sets.

#include "host/RendParams.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace app {

class ProgressBar : public RendProgressCallback {
public:
    // prefix: shown before the title, e.g. the frame ("frame 12: ").
    explicit ProgressBar(bool enabled, std::FILE* stream = stderr);
    ~ProgressBar() override;

    void setPrefix(std::string prefix) { prefix_ = std::move(prefix); }
    void SetTitle(const char* title) override;
    int Progress(int done, int total) override;
    // Clears the bar's line so normal output can follow.
    void finish();

private:
    void draw(bool force);

    bool enabled_;
    bool interactive_;
    std::FILE* stream_;
    std::string prefix_;
    std::string title_;
    int done_ = 0, total_ = 0;
    int lastPermille_ = -1;
    std::chrono::steady_clock::time_point lastDraw_{};
    bool lineDirty_ = false;
};

}  // namespace app
