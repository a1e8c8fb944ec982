#include "shell/IniHandler.h"
#include "shell/SettingsLocations.h"
#include "support/DirectoryCore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

using namespace test_support;

namespace fs = std::filesystem;
using namespace vml;

namespace {

constexpr fs::perms readOnlyDir = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                  fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms readOnlyFile = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;

// The locations are computed once per process, so every test shares one host and one user folder.
struct Host {
    TempDir root;
    DirectoryCore core;
    std::string config = root.dir() + "plugcfg/";
    std::string data = root.dir() + "data/";

    Host()
    {
        fs::create_directories(config);
        fs::create_directories(data);
        // Open to the unprivileged user the read-only cases run as under root.
        fs::permissions(root.path(), readOnlyDir | fs::perms::owner_write);
        fs::permissions(data, fs::perms::all);
        core.setDir(APP_PLUGCFG_DIR, config);
        core.setDir(APP_MACHINE_DATA_DIR, data);
        SetCOREInterface(&core);
    }
};

bool hostInstalled = false;

Host& host()
{
    static Host h;
    hostInstalled = true;
    return h;
}

// Runs `body` as an unprivileged user in a child process when this process is root, which ignores
// file permissions; directly otherwise. Answers the body's report (empty when all held), or nothing
// when privileges cannot be dropped here.
std::optional<std::string> asUnprivileged(const std::function<std::string()>& body)
{
    if (::geteuid() != 0)
        return body();
    int fds[2];
    if (::pipe(fds) != 0)
        return "pipe failed";
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        constexpr uid_t nobody = 65534;
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
            ::_exit(77);
        std::string report = body();
        ssize_t written = ::write(fds[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return report + "the unprivileged run failed";
    return report;
}

std::string expect(bool ok, const std::string& what) { return ok ? std::string() : what + "\n"; }

// Redirection to the user folder, checked from inside asUnprivileged.
std::string expectRedirected(IniHandler& ini, const std::string& target)
{
    std::string report = expect(ini.ensureWritable() == 1, "not redirected");
    return report + expect(std::string(ini.path) == target, std::string("path ") + ini.path);
}

class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host();
        std::error_code ec;
        fs::remove_all(makerDataDir(), ec);  // every case starts without a user folder
    }
    // A fresh directory beside the shared ones, reachable by the unprivileged user.
    fs::path configDir(const std::string& name)
    {
        fs::path dir = host().root.path() / name;
        fs::remove_all(dir);
        fs::create_directories(dir);
        return dir;
    }
};

TEST(SettingsLocationOnce, UnknownWithoutAHostThenFixedAtFirstUse)
{
    if (hostInstalled)
        GTEST_SKIP() << "the locations of this process are already fixed";
    SetCOREInterface(nullptr);
    EXPECT_STREQ(pluginConfigDir(), "");
    EXPECT_EQ(settingsFilePath(materialPresetFileName), "");

    Host& h = host();
    EXPECT_EQ(pluginConfigDir(), h.config);
    h.core.setDir(APP_PLUGCFG_DIR, h.root.dir() + "elsewhere/");
    EXPECT_EQ(pluginConfigDir(), h.config);
    h.core.setDir(APP_PLUGCFG_DIR, h.config);
}

TEST_F(SettingsLocationTest, LocationsFollowTheHostDirectories)
{
    EXPECT_EQ(pluginConfigDir(), host().config);
    EXPECT_EQ(makerDataDir(), host().data + "KOBAN");
    EXPECT_EQ(productDataDir(), host().data + "KOBAN/Vermil+/");
    EXPECT_EQ(settingsFilePath(materialPresetFileName), host().config + "vermil+.ini");
    EXPECT_EQ(settingsFilePath(linePresetFileName), host().config + "vermil+_line.ini");
}

TEST_F(SettingsLocationTest, ReadOnlyConfigDirWithTheFileIsCopiedOnce)
{
    const fs::path dir = configDir("installed");
    const fs::path installed = dir / "case2.ini";
    const std::string target = productDataDir() + "case2.ini";
    auto install = [&](const std::string& text) {
        fs::permissions(dir, fs::perms::owner_all);
        if (fs::exists(installed))
            fs::permissions(installed, fs::perms::owner_read | fs::perms::owner_write);
        TempDir::writeText(installed, text);
        fs::permissions(installed, readOnlyFile);
        fs::permissions(dir, readOnlyDir);
    };
    auto run = [&] {
        IniHandler ini(installed.string());
        std::string report = expectRedirected(ini, target);
        const std::string copy = TempDir::readText(target);
        return report + expect(copy == "[S]\nk=installed\n", "copy holds: " + copy) +
               expect((fs::status(target).permissions() & fs::perms::owner_write) != fs::perms::none,
                      "the copy is read-only");
    };
    install("[S]\nk=installed\n");
    std::optional<std::string> first = asUnprivileged(run);
    if (!first)
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(*first, "");

    // A later installation changes the installed file; the user copy stays as it was.
    install("[S]\nk=reinstalled\n");
    EXPECT_EQ(asUnprivileged(run).value_or("skipped"), "");
}

TEST_F(SettingsLocationTest, ConfigDirThatCannotExistPointsIntoTheUserFolder)
{
    // A directory below a regular file cannot be made or opened, for root as for anyone.
    const fs::path blocker = configDir("blocked") / "not-a-directory";
    TempDir::writeText(blocker, "");
    IniHandler ini((blocker / "case4.ini").string());
    EXPECT_EQ(expectRedirected(ini, productDataDir() + "case4.ini"), "");
    EXPECT_TRUE(fs::is_directory(productDataDir()));
    EXPECT_FALSE(fs::exists(ini.path));
}

TEST_F(SettingsLocationTest, WritableEmptyOrOverlongPathsAreLeftAlone)
{
    const std::string file = (configDir("writable") / "case1.ini").string();
    IniHandler ini(file);
    EXPECT_EQ(ini.ensureWritable(), 0);
    EXPECT_EQ(std::string(ini.path), file);
    EXPECT_EQ(fs::file_size(file), 0u) << "created where it was asked for";

    IniHandler none;
    EXPECT_EQ(none.ensureWritable(), 0);
    EXPECT_STREQ(none.path, "");

    // A cut path would name another file; an overlong one is dropped instead.
    IniHandler overlong(host().config + std::string(settingsPathSize, 'x') + ".ini");
    EXPECT_STREQ(overlong.path, "");
    EXPECT_EQ(overlong.ensureWritable(), 0);
    EXPECT_FALSE(fs::exists(makerDataDir()));
}

}  // namespace
