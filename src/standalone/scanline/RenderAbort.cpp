#include "standalone/scanline/RenderAbort.h"

#include "host/Interface.h"

namespace standalone::scanline {

namespace {

bool hostCancelled()
{
    Interface* core = GetCOREInterface();
    return core && core->GetCancel();
}

}  // namespace

bool reportAndCheckCancel(RendProgressCallback* prog, int done, int total)
{
    bool abort = prog && prog->Progress(done, total) == RENDPROG_ABORT;
    return abort || hostCancelled();
}

BOOL RenderAbortCheck::Check()
{
    aborted_ = aborted_ || hostCancelled();
    return aborted_ ? TRUE : FALSE;
}

BOOL RenderAbortCheck::Progress(int done, int total)
{
    aborted_ = aborted_ || reportAndCheckCancel(prog_, done, total);
    return aborted_ ? TRUE : FALSE;
}

void RenderAbortCheck::SetTitle(const char* title)
{
    if (prog_)
        prog_->SetTitle(title ? title : "");
}

}  // namespace standalone::scanline
