#pragma once
// Cancellation of a frame: the progress callback's answer or the host's cancel flag. Only the
// render thread asks; worker threads never call the progress callback.

#include "host/Effect.h"
#include "host/RendParams.h"

namespace standalone::scanline {

// Reports done of total to prog (when there is one); true when the frame should stop.
bool reportAndCheckCancel(RendProgressCallback* prog, int done, int total);

// The abort check handed to render effects; remembers whether an abort was seen.
class RenderAbortCheck : public CheckAbortCallback {
public:
    explicit RenderAbortCheck(RendProgressCallback* prog) : prog_(prog) {}
    BOOL Check() override;
    BOOL Progress(int done, int total) override;
    void SetTitle(const char* title) override;
    bool aborted() const { return aborted_; }

private:
    RendProgressCallback* prog_;
    bool aborted_ = false;
};

}  // namespace standalone::scanline
