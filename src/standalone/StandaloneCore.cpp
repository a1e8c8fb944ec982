#include "standalone/StandaloneCore.h"

#include "host/ClassDesc2.h"

#include <algorithm>
#include <cstdio>

namespace standalone {

const char* StandaloneCore::GetDir(int which)
{
    auto it = dirs_.find(which);
    return it == dirs_.end() ? "" : it->second.c_str();
}

void StandaloneCore::registerClass(ClassDesc2* desc)
{
    if (desc && std::find(classes_.begin(), classes_.end(), desc) == classes_.end())
        classes_.push_back(desc);
}

ReferenceTarget* StandaloneCore::CreateInstance(SClass_ID superClass, const Class_ID& classId)
{
    for (ClassDesc2* desc : classes_)
        if (desc->SuperClassID() == superClass && desc->ClassID() == classId)
            return desc->Create(FALSE);
    return nullptr;
}

int StandaloneCore::ShowMessageBox(HWND, const char* text, const char* caption, UINT type)
{
    messages_.push_back({text, caption, type});
    if (!quiet_ && messageStream_)
        std::fprintf(messageStream_, "%s: %s\n", caption, text);
    // Nobody is there to answer: take the first (affirmative) button.
    UINT buttons = type & 0xF;
    return buttons == MB_YESNO ? IDYES : IDOK;
}

}  // namespace standalone
