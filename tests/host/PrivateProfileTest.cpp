#include "host/PrivateProfile.h"
#include "host/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string readText(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> nonEmptyLines(const fs::path& p)
{
    std::vector<std::string> lines;
    std::istringstream in(readText(p));
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

void writeText(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

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
};

TEST_F(PrivateProfileTest, MissingFileSectionOrKeyAnswersTheDefault)
{
    char buffer[32];
    EXPECT_EQ(getPrivateProfileString("S", "k", "dflt", buffer, sizeof buffer, file.c_str()), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(getPrivateProfileString("S", "k", nullptr, buffer, sizeof buffer, file.c_str()), 0u);
    EXPECT_STREQ(buffer, "");

    writeText(file, "[S]\nk=v\n");
    EXPECT_EQ(get("S", "other", file), "default");
    EXPECT_EQ(get("T", "k", file), "default");
    EXPECT_EQ(get(nullptr, "k", file), "default");
    EXPECT_EQ(get("S", "k", ""), "default");
    EXPECT_FALSE(fs::exists("settings.ini"));
}

TEST_F(PrivateProfileTest, NamesIgnoreCaseAndValuesAreTrimmed)
{
    writeText(file, "; comment\n[Vermil+ Brush]\nbrush_size = 12.5 \nbrush_rough=\n\n[Vermil+ Paint]\nx=1\n");
    EXPECT_EQ(get("vermil+ brush", "BRUSH_SIZE", file), "12.5");
    EXPECT_EQ(get("Vermil+ Brush", "brush_rough", file), "");
    EXPECT_EQ(get("Vermil+ Paint", "x", file), "1");
}

TEST_F(PrivateProfileTest, UnreadableFileAnswersTheDefault)
{
    fs::create_directory(file);  // a directory where the file should be
    EXPECT_EQ(get("S", "k", file), "default");
    EXPECT_FALSE(writePrivateProfileString("S", "k", "v", file.c_str()));
    EXPECT_TRUE(fs::is_directory(file));
}

TEST_F(PrivateProfileTest, LongValuesAreCutToTheBuffer)
{
    const std::string longValue(5000, 'x');
    ASSERT_TRUE(writePrivateProfileString("S", "k", longValue.c_str(), file.c_str()));

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
    ASSERT_TRUE(writePrivateProfileString("Vermil+ Brush", "brush_size", "10.000000", file.c_str()));
    ASSERT_TRUE(writePrivateProfileString("Vermil+ Brush", "brush_density", "26.000000", file.c_str()));
    ASSERT_TRUE(writePrivateProfileString("Vermil+ Stroke", "stroke_rake", "0", file.c_str()));
    EXPECT_EQ(nonEmptyLines(file),
              (std::vector<std::string>{"[Vermil+ Brush]", "brush_size=10.000000", "brush_density=26.000000",
                                        "[Vermil+ Stroke]", "stroke_rake=0"}));

    // An update keeps the key's place, its neighbours and the file's comments.
    writeText(file, "; keep me\n[A]\nx=1\ny=2\n\n[B]\nz=3\n");
    ASSERT_TRUE(writePrivateProfileString("a", "X", "9", file.c_str()));
    EXPECT_EQ(get("A", "x", file), "9");
    EXPECT_EQ(get("A", "y", file), "2");
    EXPECT_EQ(get("B", "z", file), "3");
    std::string text = readText(file);
    EXPECT_NE(text.find("; keep me"), std::string::npos);
    EXPECT_LT(text.find("=9"), text.find("y=2"));

    ASSERT_TRUE(writePrivateProfileString("A", "y", nullptr, file.c_str()));
    EXPECT_EQ(get("A", "y", file), "default");
    EXPECT_EQ(get("A", "x", file), "9");
    ASSERT_TRUE(writePrivateProfileString("B", nullptr, nullptr, file.c_str()));
    EXPECT_EQ(get("B", "z", file), "default");
    EXPECT_EQ(get("A", "x", file), "9");
}

TEST_F(PrivateProfileTest, RefusesTextThatWouldNotReadBack)
{
    writeText(file, "[S]\nk=v\n");
    EXPECT_FALSE(writePrivateProfileString("S", "k", "a\nother=injected", file.c_str()));
    EXPECT_FALSE(writePrivateProfileString("S", "a=b", "v", file.c_str()));
    EXPECT_FALSE(writePrivateProfileString("S]x", "k", "v", file.c_str()));
    EXPECT_FALSE(writePrivateProfileString("S", "", "v", file.c_str()));
    EXPECT_FALSE(writePrivateProfileString(nullptr, "k", "v", file.c_str()));
    EXPECT_FALSE(writePrivateProfileString("S", "k", "v", ""));
    EXPECT_EQ(readText(file), "[S]\nk=v\n");
}

TEST_F(PrivateProfileTest, ReplacementKeepsPermissionsAndLeavesNoTemporaryFiles)
{
    writeText(file, "[S]\nk=v\n");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(writePrivateProfileString("S", "k", "w", file.c_str()));
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 1);
}

TEST_F(PrivateProfileTest, FailedWriteLeavesThePreviousFileIntact)
{
    const std::string before = "[S]\nk=v\n";
    writeText(file, before);
    const std::string big(4096, 'y');

    // A file-size limit fails the write for every user, root included.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    BOOL ok = writePrivateProfileString("S", "k", big.c_str(), file.c_str());
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    EXPECT_EQ(readText(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 1);
}

TEST_F(PrivateProfileTest, ConcurrentWritersLoseNoKeys)
{
    constexpr int threads = 4;
    constexpr int keysPerThread = 25;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int k = 0; k < keysPerThread; ++k) {
                std::string key = "k" + std::to_string(t) + "_" + std::to_string(k);
                writePrivateProfileString("S", key.c_str(), key.c_str(), file.c_str());
            }
        });
    for (auto& w : workers)
        w.join();
    for (int t = 0; t < threads; ++t)
        for (int k = 0; k < keysPerThread; ++k) {
            std::string key = "k" + std::to_string(t) + "_" + std::to_string(k);
            EXPECT_EQ(get("S", key.c_str(), file), key);
        }
}

}  // namespace
