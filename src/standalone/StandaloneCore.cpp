#include "standalone/StandaloneCore.h"

#include "host/ClassDesc2.h"

#include <cstdio>
#include <utility>

namespace standalone {

const char* StandaloneCore::GetDir(int which)
{
    auto it = dirs_.find(which);
    return it == dirs_.end() ? "" : it->second.c_str();
}

void StandaloneCore::registerClass(ClassDesc2* desc, std::string scriptName)
{
    if (!desc)
        return;
    for (const RegisteredClass& c : classes_)
        if (c.desc == desc || c.name == scriptName)
            return;
    classes_.push_back({desc, std::move(scriptName)});
}

ClassDesc2* StandaloneCore::findClass(const std::string& scriptName) const
{
    for (const RegisteredClass& c : classes_)
        if (c.name == scriptName)
            return c.desc;
    return nullptr;
}

std::vector<std::string> StandaloneCore::classNames() const
{
    std::vector<std::string> names;
    for (const RegisteredClass& c : classes_)
        names.push_back(c.name);
    return names;
}

ReferenceTarget* StandaloneCore::CreateInstance(SClass_ID superClass, const Class_ID& classId)
{
    for (const RegisteredClass& c : classes_)
        if (c.desc->SuperClassID() == superClass && c.desc->ClassID() == classId)
            return c.desc->Create(FALSE);
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

void StandaloneCore::LogWarning(const char* text)
{
    std::lock_guard guard(warningsLock_);
    warnings_.emplace_back(text ? text : "");
    if (warningHandler_)
        warningHandler_(warnings_.back());
}

std::vector<std::string> StandaloneCore::warnings() const
{
    std::lock_guard guard(warningsLock_);
    return warnings_;
}

void StandaloneCore::clearWarnings()
{
    std::lock_guard guard(warningsLock_);
    warnings_.clear();
}

void StandaloneCore::setWarningHandler(std::function<void(const std::string&)> handler)
{
    std::lock_guard guard(warningsLock_);
    warningHandler_ = std::move(handler);
}

}  // namespace standalone
