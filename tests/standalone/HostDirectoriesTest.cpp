#include "standalone/HostDirectories.h"

#include "standalone/StandaloneCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

using namespace test_support;

using namespace standalone;

namespace {

HostDirectories resolve(std::map<std::string, std::string> env)
{
    return hostDirectoriesFromEnvironment([env = std::move(env)](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    });
}

TEST(HostDirectoriesTest, OverridesThenXdgThenHomeAndTheCoreAnswersThem)
{
    HostDirectories d = resolve({{"VERMIL_PLUGCFG_DIR", "/opt/cfg"},
                                 {"VERMIL_DATA_DIR", "/srv/data/"},
                                 {"XDG_CONFIG_HOME", "/x/config"},
                                 {"HOME", "/home/u"}});
    EXPECT_EQ(d.pluginConfig, "/opt/cfg/");
    EXPECT_EQ(d.machineData, "/srv/data/");
    d = resolve({{"XDG_CONFIG_HOME", "/x/config"}, {"XDG_DATA_HOME", "/x/data/"}, {"HOME", "/home/u"}});
    EXPECT_EQ(d.pluginConfig, "/x/config/vermil/plugcfg/");
    EXPECT_EQ(d.machineData, "/x/data/vermil/");
    // Empty overrides and relative XDG values do not count.
    d = resolve({{"VERMIL_PLUGCFG_DIR", ""}, {"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}});
    EXPECT_EQ(d.pluginConfig, "/home/u/.config/vermil/plugcfg/");
    EXPECT_EQ(d.machineData, "/home/u/.local/share/vermil/");
    d = resolve({});
    EXPECT_EQ(d.pluginConfig + d.machineData, "");
    // The core answers them, and the configuration folder is made.
    TempDir tmp;
    HostDirectories dirs{tmp.dir() + "cfg/plugcfg/", tmp.dir() + "data/"};
    StandaloneCore core;
    setHostDirectories(core, dirs);
    EXPECT_EQ(std::string(core.GetDir(APP_PLUGCFG_DIR)), dirs.pluginConfig);
    EXPECT_EQ(std::string(core.GetDir(APP_MACHINE_DATA_DIR)), dirs.machineData);
    EXPECT_TRUE(std::filesystem::is_directory(dirs.pluginConfig));
}

TEST(StandaloneCore, RedrawSuspensionCountsAndCannotUnderflow)
{
    standalone::StandaloneCore core;
    core.DisableSceneRedraw();
    core.DisableSceneRedraw();
    core.EnableSceneRedraw();
    EXPECT_TRUE(core.redrawSuspended());
    core.EnableSceneRedraw();
    core.EnableSceneRedraw();  // unbalanced enable does not underflow
    EXPECT_FALSE(core.redrawSuspended());
    core.DisableSceneRedraw();
    EXPECT_TRUE(core.redrawSuspended());
}

}  // namespace
