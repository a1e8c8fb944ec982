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

TEST(StandaloneCore, MessageBoxesAreRecordedAndPrintedUnlessQuiet)
{
    standalone::StandaloneCore core;
    std::FILE* sink = std::tmpfile();
    ASSERT_NE(sink, nullptr);
    core.setMessageStream(sink);
    SetCOREInterface(&core);

    EXPECT_EQ(MessageBox(core.GetMainWindow(), "out of memory", "Vrmil+", MB_OK | MB_ICONEXCLAMATION), IDOK);
    core.setQuietMode(true);
    MessageBox(nullptr, "quiet one", "Vermil+", MB_OK);

    ASSERT_EQ(core.messages().size(), 2u);
    EXPECT_EQ(core.messages()[0].caption, "Vrmil+");
    EXPECT_EQ(core.messages()[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(core.messages()[1].text, "quiet one");

    std::rewind(sink);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, sink), nullptr);
    EXPECT_STREQ(line, "Vrmil+: out of memory\n");
    EXPECT_EQ(std::fgets(line, sizeof line, sink), nullptr);  // the quiet one was not printed
    std::fclose(sink);

    SetCOREInterface(nullptr);
    EXPECT_EQ(MessageBox(nullptr, "nobody listens", "x", MB_OK), 0);
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
