#include "line/LineFxParamBlocks.h"

#include "host/Rollout.h"

namespace vml {

namespace {
constexpr int autoBlock = P_AUTO_CONSTRUCT | P_AUTO_UI;

ParamBlockDesc2 withRollout(BlockID id, const char* name, int dialog, int title, DWORD flags = 0)
{
    ParamBlockDesc2 d(id, name, title, autoBlock, id);
    d.SetRollout(dialog, title, flags);
    return d;
}
}  // namespace

// Parameters are declared with the line effect and its elements.

ParamBlockDesc2& lineFxManagerParamsBlock()
{
    static ParamBlockDesc2 desc = withRollout(0, "parameters", 114, 600);
    return desc;
}

ParamBlockDesc2& lineFxManagerElementBlock()
{
    static ParamBlockDesc2 desc = withRollout(1, "parameters", 120, 601);
    return desc;
}

ParamBlockDesc2& lineFxManagerPaintBlock()
{
    static ParamBlockDesc2 desc = withRollout(2, "paint", 120, 104);
    return desc;
}

ParamBlockDesc2& lineFxManagerVersionBlock()
{
    static ParamBlockDesc2 desc = withRollout(3, "version", 122, 603, APPENDROLL_CLOSED);
    return desc;
}

ParamBlockDesc2& lineFxElementParamsBlock()
{
    static ParamBlockDesc2 desc(0, "parameters", 0, P_AUTO_CONSTRUCT, 0);
    return desc;
}

ParamBlockDesc2& lineFxElementPaintBlock()
{
    static ParamBlockDesc2 desc(1, "paint", 0, P_AUTO_CONSTRUCT, 1);
    return desc;
}

}  // namespace vml
