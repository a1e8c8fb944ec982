// The shell: locks, random tables, text lookup and its language, where the settings files live,
// and the worker pool.

#include "support/DirectoryCore.h"
#include "support/TempDir.h"

#include "shell/IniHandler.h"
#include "shell/Locks.h"
#include "shell/RandomTables.h"
#include "shell/SettingsLocations.h"
#include "shell/StringLookup.h"
#include "shell/WorkerPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace test_support;
namespace fs = std::filesystem;
using namespace vml;

namespace {

TEST(Locks, CreatedOnceSerialiseThreadsAndDeletedOnShutdown)
{
    vml::createLocks();
    ASSERT_TRUE(vml::locksExist());
    CriticalSection* stroke = &vml::strokeListLock();
    vml::createLocks();  // a second initialise keeps the same locks
    EXPECT_EQ(stroke, &vml::strokeListLock());
    EXPECT_NE(&vml::strokeListLock(), &vml::pixelSampleLock());
    EXPECT_NE(&vml::pixelSampleLock(), &vml::shadeContextPoolLock());
    // Four threads count under the lock; the total comes out right only when it serialises them.
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                CriticalSectionGuard guard(vml::pixelSampleLock());
                ++counter;
            }
        });
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(counter, 80000);
    vml::deleteLocks();
    EXPECT_FALSE(vml::locksExist());
}

TEST(RandomTables, FirstValuesLastValueAndPermutation)
{
    EXPECT_TRUE(vml::fillRandomTables());
    EXPECT_EQ((std::vector<std::uint32_t>(randomTableA.begin(), randomTableA.begin() + 4)),
              (std::vector<std::uint32_t>{13319, 56418, 16641, 21780}));
    EXPECT_EQ((std::vector<std::uint32_t>(randomTableB.begin(), randomTableB.begin() + 4)),
              (std::vector<std::uint32_t>{31786, 40489, 20508, 61811}));
    EXPECT_EQ(randomTableA[65535], 1024u);
    EXPECT_EQ(randomTableB[65535], 55535u);
    for (const vml::RandomTable* table : {&randomTableA, &randomTableB}) {
        std::vector<bool> seen(vml::randomTableSize, false);
        for (std::uint32_t v : *table) {
            ASSERT_LT(v, 65536u);
            ASSERT_FALSE(seen[v]) << "value " << v << " occurs twice";
            seen[v] = true;
        }
    }
    EXPECT_FLOAT_EQ(vml::lcgFraction(32768), 0.5f);
    EXPECT_LT(vml::lcgFraction(65535), 1.0f);
    randomTableA[0] = 7;  // a refill would restore 13319
    EXPECT_FALSE(vml::fillRandomTables());
    EXPECT_TRUE(vml::randomTablesFilled());
    EXPECT_EQ(randomTableA[0], 7u);
    randomTableA[0] = 13319;
}

using Variables = std::vector<std::pair<const char*, const char*>>;

// Sets the variables the language is read from, unsetting every one not given, for one test.
struct LanguageEnvironment {
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    explicit LanguageEnvironment(const Variables& values)
    {
        for (const char* name : {"VERMIL_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* old = std::getenv(name);
            saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
            ::unsetenv(name);
        }
        for (const auto& [name, value] : values)
            ::setenv(name, value, 1);
    }
    ~LanguageEnvironment()
    {
        for (const auto& [name, value] : saved)
            value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    }
};

// A module handle for the duration of a test, and the language left to the environment after it.
class StringLookupTest : public ::testing::Test {
protected:
    void SetUp() override { vml::setModuleHandle(&module_); }
    void TearDown() override
    {
        vml::setModuleHandle(nullptr);
        vml::setTextLanguage(std::nullopt);
    }

private:
    int module_ = 0;
};

TEST_F(StringLookupTest, NeedsTheModuleRejectsMissingIdsAndSharesOneBuffer)
{
    vml::setTextLanguage(Language::Japanese);
    vml::setModuleHandle(nullptr);
    EXPECT_EQ(vml::getString(1), nullptr);
    int module = 0;
    vml::setModuleHandle(&module);
    for (int id : {0, -1, 99999})
        EXPECT_EQ(vml::getString(id), nullptr) << id;
    const char* first = vml::getString(10);
    ASSERT_NE(first, nullptr);
    std::string kept = first;  // callers copy at once
    const char* second = vml::getString(11);
    EXPECT_EQ(first, second);
    EXPECT_EQ(kept, "Vermil+ ﾏﾃﾘｱﾙ");
    // A failed lookup leaves the buffer as it was.
    EXPECT_EQ(vml::getString(99999), nullptr);
    EXPECT_STREQ(second, "Vermil+ ﾚﾝﾀﾞﾗｰ");
}

// The first variable set and not empty wins: VERMIL_LANG, LC_ALL, LC_MESSAGES, LANG.
TEST_F(StringLookupTest, LocaleSelectsTheLanguage)
{
    const Language en = Language::English, ja = Language::Japanese;
    const std::pair<Variables, Language> cases[] = {
        {{}, en},
        {{{"LANG", "ja_JP.UTF-8"}}, ja},
        {{{"LANG", "C.UTF-8"}}, en},
        {{{"LANG", "en_JP.UTF-8"}}, en},  // only a leading "ja" counts
        {{{"LC_MESSAGES", "ja_JP.eucJP"}}, ja},
        {{{"VERMIL_LANG", "en"}, {"LC_ALL", "ja_JP.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, en},
        {{{"VERMIL_LANG", "ja"}, {"LANG", "en_US.UTF-8"}}, ja},
        {{{"LC_ALL", "C"}, {"LC_MESSAGES", "ja_JP.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, en},
        {{{"VERMIL_LANG", ""}, {"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, ja},
    };
    for (const auto& [environment, expected] : cases) {
        LanguageEnvironment env(environment);
        EXPECT_EQ(vml::languageFromEnvironment(), expected)
            << (environment.empty() ? "nothing set" : environment.front().second);
    }
}

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

Host& host()
{
    static Host h;
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
    const std::string report = expect(ini.ensureWritable() == 1, "not redirected");  // moves the path
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

TEST(WorkerPool, ConcurrentCallersShareThePool)
{
    vml::WorkerPool pool(3);
    std::atomic<int> total{0};
    std::vector<std::thread> callers;
    for (int c = 0; c < 4; ++c)
        callers.emplace_back([&] {
            for (int job = 0; job < 50; ++job)
                pool.run(16, [&](std::size_t) { total.fetch_add(1); });
        });
    for (auto& t : callers)
        t.join();
    EXPECT_EQ(total.load(), 4 * 50 * 16);
}

TEST(WorkerPool, FailuresAreRethrownAfterThePiecesAndThePoolStaysUsable)
{
    vml::WorkerPool pool(2);
    EXPECT_THROW(pool.run(100,
                          [](std::size_t i) {
                              if (i == 7)
                                  throw std::runtime_error("piece 7");
                          }),
                 std::runtime_error);
    std::atomic<int> runs{0};
    EXPECT_THROW(pool.runAlongside(
                     4, [&](std::size_t) { runs.fetch_add(1); }, [] { throw std::logic_error("caller"); }),
                 std::logic_error);
    EXPECT_EQ(runs.load(), 4);
    // Inside another job the caller's work and then the pieces run on the caller.
    std::atomic<int> inner{0};
    pool.run(3, [&](std::size_t) {
        pool.runAlongside(
            2, [&](std::size_t) { ++inner; }, [&] { ++inner; });
    });
    EXPECT_EQ(inner.load(), 9);
}

// A job the alongside caller starts is lent to the piece waiting beside it: the two pieces below
// can only both finish when they run on different threads. A lent piece's failure reaches the
// caller, and the waiting piece returns once its condition holds.
TEST(WorkerPool, TheAlongsideCallersJobsAreLentToWaitingPieces)
{
    vml::WorkerPool pool(2);
    std::atomic<bool> callerDone{false}, secondRan{false}, firstSawSecond{false};
    std::atomic<int> failures{0};
    pool.runAlongside(
        1, [&](std::size_t) { pool.waitOrHelp([&] { return callerDone.load(); }); },
        [&] {
            pool.run(2, [&](std::size_t i) {
                if (i == 1) {
                    secondRan = true;
                    return;
                }
                for (int spins = 0; spins < 200000 && !secondRan; ++spins)
                    std::this_thread::yield();
                firstSawSecond = secondRan.load();
            });
            try {
                pool.run(4, [](std::size_t i) {
                    if (i == 2)
                        throw std::runtime_error("lent piece");
                });
            } catch (const std::runtime_error&) {
                ++failures;
            }
            callerDone = true;
            pool.signal();
        });
    EXPECT_TRUE(firstSawSecond.load());
    EXPECT_EQ(failures.load(), 1);
}

}  // namespace
