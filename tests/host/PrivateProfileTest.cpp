#include "host/PrivateProfile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

using namespace test_support;

namespace fs = std::filesystem;

namespace {

std::string get(const char* section, const char* key, const std::string& path, const char* def = "default")
{
    char buffer[256];
    getPrivateProfileString(section, key, def, buffer, sizeof buffer, path.c_str());
    return buffer;
}

class PrivateProfileTest : public ::testing::Test {
protected:
    TempDir tmp;
    std::string file = (tmp.path() / "settings.ini").string();

    bool write(const char* section, const char* key, const char* value)
    {
        return writePrivateProfileString(section, key, value, file.c_str());
    }
    long filesInDir() const
    {
        return std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator());
    }
};

TEST_F(PrivateProfileTest, ReadsIgnoreCaseTrimValuesAndFallBackOnTheDefault)
{
    char buffer[32];
    EXPECT_EQ(getPrivateProfileString("S", "k", "dflt", buffer, sizeof buffer, file.c_str()), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(getPrivateProfileString("S", "k", nullptr, buffer, sizeof buffer, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "");
    TempDir::writeText(file,
                       "; comment\n[Vermil+ Brush]\nbrush_size = 12.5 \nbrush_rough=\n\n[Paint]\nx=1\n");
    EXPECT_EQ(get("vermil+ brush", "BRUSH_SIZE", file), "12.5");
    EXPECT_EQ(get("Vermil+ Brush", "brush_rough", file), "");
    EXPECT_EQ(get("Paint", "x", file), "1");
    EXPECT_EQ(get("Paint", "other", file), "default");
    EXPECT_EQ(get("T", "x", file), "default");
    EXPECT_EQ(get(nullptr, "x", file), "default");
    EXPECT_EQ(get("Paint", "x", ""), "default");
    EXPECT_FALSE(fs::exists("settings.ini"));
}

TEST_F(PrivateProfileTest, LongValuesAreCutToTheBuffer)
{
    const std::string longValue(5000, 'x');
    ASSERT_TRUE(write("S", "k", longValue.c_str()));
    char buffer[300];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(getPrivateProfileString("S", "k", "", buffer, 256, file.c_str()), 255u);
    EXPECT_EQ(std::string(buffer), std::string(255, 'x'));
    EXPECT_EQ(buffer[256], '#');
    EXPECT_EQ(getPrivateProfileString("S", "k", "", buffer, 1, file.c_str()), 0u);
    EXPECT_EQ(buffer[0], '\0');
    buffer[0] = '#';
    EXPECT_EQ(getPrivateProfileString("S", "k", "", buffer, 0, file.c_str()), 0u);
    EXPECT_EQ(buffer[0], '#');
    char whole[6000];
    EXPECT_EQ(getPrivateProfileString("S", "k", "", whole, sizeof whole, file.c_str()), 5000u);
}

TEST_F(PrivateProfileTest, WritesCreateUpdateAndRemove)
{
    ASSERT_TRUE(write("Vermil+ Brush", "brush_size", "10.000000"));
    ASSERT_TRUE(write("Vermil+ Brush", "brush_density", "26.000000"));
    ASSERT_TRUE(write("Vermil+ Stroke", "stroke_rake", "0"));
    std::string text = TempDir::readText(file);
    for (std::size_t blank; (blank = text.find("\n\n")) != std::string::npos;)
        text.erase(blank, 1);
    EXPECT_EQ(
        text,
        "[Vermil+ Brush]\nbrush_size=10.000000\nbrush_density=26.000000\n[Vermil+ Stroke]\nstroke_rake=0\n");
    // An update keeps the key's place, its neighbours and the file's comments.
    TempDir::writeText(file, "; keep me\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(write("a", "X", "9"));
    EXPECT_EQ(get("A", "x", file), "9");
    text = TempDir::readText(file);
    EXPECT_NE(text.find("; keep me"), std::string::npos);
    EXPECT_LT(text.find("=9"), text.find("y=2"));
    ASSERT_TRUE(write("A", "y", nullptr));
    EXPECT_EQ(get("A", "y", file), "default");
    ASSERT_TRUE(write("B", nullptr, nullptr));
    EXPECT_EQ(get("B", "z", file), "default");
    EXPECT_EQ(get("A", "x", file), "9");
}

TEST_F(PrivateProfileTest, RefusesTextThatWouldNotReadBackAndUnreadableFiles)
{
    TempDir::writeText(file, "[S]\nk=v\n");
    EXPECT_FALSE(write("S", "k", "a\nother=injected"));
    EXPECT_FALSE(write("S", "a=b", "v"));
    EXPECT_FALSE(write("S]x", "k", "v"));
    EXPECT_FALSE(write("S", "", "v"));
    EXPECT_FALSE(write(nullptr, "k", "v"));
    EXPECT_FALSE(writePrivateProfileString("S", "k", "v", ""));
    EXPECT_EQ(TempDir::readText(file), "[S]\nk=v\n");
    fs::remove(file);
    fs::create_directory(file);  // a directory where the file should be
    EXPECT_EQ(get("S", "k", file), "default");
    EXPECT_FALSE(write("S", "k", "v"));
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(PrivateProfileTest, ReplacementKeepsPermissionsAndAFailedWriteKeepsTheFile)
{
    const fs::perms perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    TempDir::writeText(file, "[S]\nk=v\n");
    fs::permissions(file, perms);
    ASSERT_TRUE(write("S", "k", "w"));
    EXPECT_EQ(fs::status(file).permissions(), perms);
    EXPECT_EQ(filesInDir(), 1);
    // A file-size limit fails the write for every user, root included.
    const std::string before = TempDir::readText(file), big(4096, 'y');
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    BOOL ok = write("S", "k", big.c_str());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(ok);
    EXPECT_EQ(TempDir::readText(file), before);
    EXPECT_EQ(filesInDir(), 1);
}

TEST_F(PrivateProfileTest, ConcurrentWritersLoseNoKeys)
{
    auto key = [](int t, int k) { return "k" + std::to_string(t) + "_" + std::to_string(k); };
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int k = 0; k < 25; ++k)
                write("S", key(t, k).c_str(), key(t, k).c_str());
        });
    for (auto& w : workers)
        w.join();
    for (int t = 0; t < 4; ++t)
        for (int k = 0; k < 25; ++k)
            EXPECT_EQ(get("S", key(t, k).c_str(), file), key(t, k));
}

}  // namespace
