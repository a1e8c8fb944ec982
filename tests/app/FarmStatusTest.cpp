// Where a farm job's frames stand: images in the output folder, tasks as Slurm reports them, and
// the job record that ties them together.

#include "support/TempDir.h"

#include "app/FarmJob.h"
#include "app/FarmStatus.h"
#include "app/SlurmTasks.h"

#include <gtest/gtest.h>

namespace {

using test_support::TempDir;

app::FarmJob turntableJob()
{
    app::FarmJob job;
    job.scene = "/farm/turntable.json";
    job.output = "/farm/out/turntable.png";
    job.vermil = "/usr/bin/vermil";
    job.chunkSize = 4;
    for (int f = 0; f < 12; ++f)
        job.frames.push_back(f);
    job.arrays = {{"100", {"0-3", "4-7", "8-11"}}};
    return job;
}

TEST(FarmStatus, FramesByImageThenByTheirTask)
{
    app::FarmJob job = turntableJob();
    // Frames 0-3 and 5 written; a half-written frame 6 exists only under its temporary name.
    const std::set<std::string> files{
        "turntable.0000.png", "turntable.0001.png",     "turntable.0002.png",      "turntable.0003.png",
        "turntable.0005.png", ".turntable.tmp0006.png", "turntable_lines.0006.png"};
    app::TaskStates tasks{{"100_1", app::TaskState::failed}, {"100_2", app::TaskState::active}};
    app::FrameReport report = app::classifyFrames(job, files, tasks);
    EXPECT_EQ(report.done, (std::vector<int>{0, 1, 2, 3, 5}));
    EXPECT_EQ(report.failed, (std::vector<int>{4, 6, 7}));
    EXPECT_EQ(report.running, (std::vector<int>{8, 9, 10, 11}));
    EXPECT_TRUE(report.missing.empty());

    // Without accounting an ended task is unknown: its frames are missing. A resubmission's task
    // takes over the frames it was given.
    job.arrays.push_back({"107", {"4,6"}});
    report = app::classifyFrames(job, files, {{"107_0", app::TaskState::active}});
    EXPECT_EQ(report.running, (std::vector<int>{4, 6}));
    EXPECT_EQ(report.missing, (std::vector<int>{7, 8, 9, 10, 11}));
}

TEST(FarmStatus, TaskLinesOfSqueueAndSacct)
{
    app::TaskStates states;
    app::readTaskLines("100_0|RUNNING\n100_[2-3,5%2]|PENDING\n100_1|CANCELLED by 0\n100_1.batch|CANCELLED\n"
                       "100_4|COMPLETED\n99|RUNNING\nnonsense\n",
                       states);
    const app::TaskStates expected{{"100_0", app::TaskState::active}, {"100_1", app::TaskState::failed},
                                   {"100_2", app::TaskState::active}, {"100_3", app::TaskState::active},
                                   {"100_4", app::TaskState::ended},  {"100_5", app::TaskState::active}};
    EXPECT_EQ(states, expected);
    EXPECT_EQ(app::taskState("NODE_FAIL"), app::TaskState::failed);
    EXPECT_EQ(app::taskState("REQUEUED"), app::TaskState::active);
}

TEST(FarmJob, RecordRoundTripAndLocatedErrors)
{
    TempDir temp;
    app::FarmJob job = turntableJob();
    job.frames = {0, 1, 2, 9};
    job.partition = "debug";
    job.size = "160x90";
    const auto path = temp.path() / ".vermil-farm" / "100.json";
    ASSERT_EQ(app::saveRecord(job, path), "");
    std::string error;
    const auto loaded = app::loadRecord(path, error);
    ASSERT_TRUE(loaded) << error;
    EXPECT_EQ(app::toJsonText(*loaded), app::toJsonText(job));
    EXPECT_EQ(app::recordPath(job.output, "100"), "/farm/out/.vermil-farm/100.json");

    for (const auto& [text, expected] :
         std::vector<std::pair<std::string, std::string>>{{"{", "expected JSON"},
                                                          {R"({"version": 1})", "/scene: missing"},
                                                          {R"({"version": 7})", "/version: expected 1"}}) {
        const std::string bad = temp.write("bad.json", text);
        EXPECT_FALSE(app::loadRecord(bad, error));
        EXPECT_NE(error.find(bad), std::string::npos) << error;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    }
    // A save that cannot happen says why and leaves no temporary file behind.
    EXPECT_FALSE(app::saveRecord(job, temp.path() / "bad.json" / "100.json").empty());
    std::filesystem::create_directories(temp.path() / "busy.json" / "x");
    EXPECT_NE(app::saveRecord(job, temp.path() / "busy.json").find("cannot replace"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "busy.json" / "x"));
    for (const auto& entry : std::filesystem::directory_iterator(temp.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

}  // namespace
