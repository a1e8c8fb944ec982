// Thread counts never show in the picture: the painted still life with outlines, rendered through
// the command as a user runs it, comes out bit for bit the same on 1, 2, 3 and 8 threads.

#include "support/CommandTestSupport.h"
#include "support/ReadImage.h"

#include "app/RenderCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace test_support;

namespace {

struct ThreadCount : test_support::CommandTest {
    // The test reads its images on its own thread: OpenImageIO's pool of worker threads is not
    // built for ThreadSanitizer, which would report its hand-overs.
    ThreadCount() { OIIO::attribute("threads", 1); }
    std::vector<float> render(int threads)
    {
        app::RenderOptions o;
        o.scenePath = VML_EXAMPLES_DIR "/still_life_painted.json";
        o.output = (dir / ("threads" + std::to_string(threads) + ".png")).string();
        o.width = 320, o.height = 180;
        o.threads = threads;
        o.lines = true;
        o.quiet = true;
        EXPECT_EQ(app::runRender(o, core), 0);
        return readImage(o.output).rgb;
    }
};

TEST_F(ThreadCount, APaintedFrameWithLinesIsTheSameOnAnyNumberOfThreads)
{
    const std::vector<float> one = render(1);
    ASSERT_FALSE(one.empty());
    for (int threads : {2, 3, 8}) {
        // More threads than cores are honoured without the threading library's warning.
        ::testing::internal::CaptureStderr();
        const std::vector<float> many = render(threads);
        EXPECT_EQ(::testing::internal::GetCapturedStderr().find("Warning"), std::string::npos) << threads;
        ASSERT_EQ(many.size(), one.size());
        std::size_t differing = 0;
        for (std::size_t i = 0; i < one.size(); ++i)
            differing += one[i] != many[i];
        EXPECT_EQ(differing, 0u) << threads << " threads";
    }
}

}  // namespace
