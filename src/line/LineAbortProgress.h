#pragma once
// The effect's abort callback seen as the progress callback that line drawing reports to.

#include "host/Effect.h"
#include "host/RendParams.h"

namespace vml {

class LineAbortProgress final : public RendProgressCallback {
public:
    // `check` may be nullptr: then nothing is reported and nothing aborts.
    explicit LineAbortProgress(CheckAbortCallback* check) : check_(check) {}

    void SetTitle(const char* title) override
    {
        if (check_)
            check_->SetTitle(title);
    }
    int Progress(int done, int total) override
    {
        return check_ && check_->Progress(done, total) ? RENDPROG_ABORT : RENDPROG_CONTINUE;
    }

private:
    CheckAbortCallback* check_;
};

}  // namespace vml
