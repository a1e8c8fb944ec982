#include "app/ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// What the bar wrote to its stream.
std::string written(std::FILE* stream)
{
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    char buffer[256];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, stream))
        text.append(buffer, n);
    return text;
}

TEST(ProgressBar, PlainStylePrintsOneLinePerNewHundredth)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        app::ProgressBar bar(true, stream, app::ProgressStyle::plain);
        bar.setPrefix("frame 3 ");
        bar.SetTitle("Painting");
        bar.Progress(0, 8);  // the title's own line already said 0
        bar.Progress(1, 8);
        bar.Progress(1, 8);
        bar.Progress(999, 1000);
        bar.Progress(9, 8);  // held to the whole
        bar.SetTitle("Bleeding");
        bar.Progress(1, 3);
    }
    EXPECT_EQ(written(stream), "progress 0.00 Painting\n"
                               "progress 0.12 Painting\n"
                               "progress 0.99 Painting\n"
                               "progress 1.00 Painting\n"
                               "progress 0.00 Bleeding\n"
                               "progress 0.33 Bleeding\n");
    std::fclose(stream);
}

TEST(ProgressBar, DisabledPlainStylePrintsNothing)
{
    std::FILE* stream = std::tmpfile();
    ASSERT_NE(stream, nullptr);
    {
        app::ProgressBar bar(false, stream, app::ProgressStyle::plain);
        bar.SetTitle("Painting");
        bar.Progress(4, 8);
    }
    EXPECT_EQ(written(stream), "");
    std::fclose(stream);
}

}  // namespace
