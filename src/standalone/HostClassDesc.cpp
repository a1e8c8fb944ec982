#include "standalone/HostClassDesc.h"

#include "host/ParamBlockDesc2.h"
#include "host/ReferenceTarget.h"

namespace standalone {

HostClassDesc::HostClassDesc(const char* name, SClass_ID superClass, Class_ID classId, Factory factory,
                             ParamBlockDesc2& block)
    : name_(name), superClass_(superClass), classId_(classId), factory_(factory)
{
    block.SetClassDesc(this);
}

ReferenceTarget* HostClassDesc::Create(BOOL) { return factory_ ? factory_() : nullptr; }

}  // namespace standalone
