#pragma once
// A core interface that answers directories from a table and records the log's warnings, and
// little else, for tests of the settings files and the intake without a full host.

#include "host/Interface.h"

#include <map>
#include <string>
#include <vector>

namespace test_support {

class DirectoryCore : public Interface {
public:
    void setDir(int which, std::string dir) { dirs_[which] = std::move(dir); }
    void setTime(TimeValue t) { time_ = t; }

    HWND GetMainWindow() override { return nullptr; }
    BOOL GetQuietMode() override { return TRUE; }
    TimeValue GetTime() override { return time_; }
    int GetFrameRate() override { return 30; }
    Color GetBackGround(TimeValue, Interval&) override { return Color(0.0f, 0.0f, 0.0f); }
    const char* GetDir(int which) override
    {
        auto it = dirs_.find(which);
        return it == dirs_.end() ? "" : it->second.c_str();
    }
    BOOL GetCancel() override { return FALSE; }
    void SetCancel(BOOL) override {}
    ReferenceTarget* CreateInstance(SClass_ID, const Class_ID&) override { return nullptr; }
    Renderer* CreateDefaultScanlineRenderer() override { return nullptr; }
    Renderer* GetCurrentRenderer() override { return nullptr; }
    void DisableSceneRedraw() override {}
    void EnableSceneRedraw() override {}
    int ShowMessageBox(HWND, const char*, const char*, UINT) override { return IDOK; }
    void LogWarning(const char* text) override { warnings.emplace_back(text); }

    std::vector<std::string> warnings;  // in the order logged

private:
    std::map<int, std::string> dirs_;
    TimeValue time_ = 0;
};

}  // namespace test_support
