#include "host/Notify.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Registration {
    NOTIFYPROC proc;
    void* param;
    int code;
    bool operator==(const Registration&) const = default;
};

std::mutex registryMutex;
std::vector<Registration>& registry()
{
    static std::vector<Registration> r;
    return r;
}

}  // namespace

int RegisterNotification(NOTIFYPROC proc, void* param, int code)
{
    std::lock_guard lock(registryMutex);
    Registration r{proc, param, code};
    auto& all = registry();
    if (std::find(all.begin(), all.end(), r) == all.end())
        all.push_back(r);
    return TRUE;
}

int UnRegisterNotification(NOTIFYPROC proc, void* param, int code)
{
    std::lock_guard lock(registryMutex);
    auto& all = registry();
    auto it = std::find(all.begin(), all.end(), Registration{proc, param, code});
    if (it == all.end())
        return FALSE;
    all.erase(it);
    return TRUE;
}

void BroadcastNotification(int code, void* callParam)
{
    std::vector<Registration> targets;
    {
        std::lock_guard lock(registryMutex);
        for (const Registration& r : registry())
            if (r.code == code)
                targets.push_back(r);
    }
    NotifyInfo info{code, callParam};
    for (const Registration& r : targets)
        r.proc(r.param, &info);
}
