#include "standalone/StandaloneCore.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

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

TEST(StandaloneCore, DirectoriesCancelAndRedraw)
{
    standalone::StandaloneCore core;
    EXPECT_STREQ(core.GetDir(APP_PLUGCFG_DIR), "");
    core.setDir(APP_PLUGCFG_DIR, "/etc/vermil/");
    EXPECT_STREQ(core.GetDir(APP_PLUGCFG_DIR), "/etc/vermil/");
    EXPECT_FALSE(core.GetCancel());
    core.SetCancel(TRUE);
    EXPECT_TRUE(core.GetCancel());
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
