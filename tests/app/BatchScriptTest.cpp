// The batch script of `vermil farm submit`, run by bash as a node would run it: the program it
// starts must get every path exactly, whatever spaces and quotes they hold.

#include "support/TempDir.h"

#include "app/BatchScript.h"
#include "app/ProcessRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using test_support::TempDir;

TEST(BatchScript, ArrayTaskGetsItsChunkAndPathsVerbatim)
{
    TempDir temp;
    // A stand-in for vermil that prints its arguments one a line.
    const std::string program = temp.write("bin dir/it's vermil", "#!/bin/sh\nprintf '%s\\n' \"$@\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    app::BatchJob job{program,
                      "/farm/a \"quoted\" scene/it's.json",
                      "/farm/out $HOME `x`/f.png",
                      {"0-5", "6-11", "12"},
                      "turntable",
                      "debug",
                      0,
                      "160x90",
                      "/farm/log-%A_%a"};
    const std::string script = app::batchScript(job);
    EXPECT_NE(script.find("#SBATCH --array=0-2\n"), std::string::npos);
    EXPECT_NE(script.find("#SBATCH --partition=debug\n"), std::string::npos);

    const app::ProcessResult run = app::runProcess(
        {"env", "-u", "SLURM_CPUS_PER_TASK", "SLURM_ARRAY_TASK_ID=1", "SLURM_CPUS_ON_NODE=3", "bash", "-s"},
        script);
    ASSERT_TRUE(run.started) << run.error;
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "render\n/farm/a \"quoted\" scene/it's.json\n--frames\n6-11\n-o\n/farm/out $HOME `x`/f.png\n"
              "--threads\n3\n--quiet\n--size\n160x90\n");
}

TEST(BatchScript, NamesAndLogPathsSafeForSlurm)
{
    EXPECT_EQ(app::shellQuote("it's"), "'it'\\''s'");
    EXPECT_EQ(app::slurmName("my scene (v2)"), "my_scene__v2_");
    EXPECT_TRUE(app::isPartitionName("gpu,cpu-long"));
    for (const char* bad : {"", "a b", "x;y", ",a", "a\n"})
        EXPECT_FALSE(app::isPartitionName(bad)) << bad;
    // Slurm expands %-patterns in the log path: the folder's own % is doubled, ours kept.
    app::BatchJob job;
    job.log = "/farm/100%/slurm-%A_%a.log";
    EXPECT_EQ(app::sbatchCommand(job).back(), "--output=/farm/100%%/slurm-%A_%a.log");
}

TEST(ProcessRunner, ReportsExitCodeAndStderr)
{
    const app::ProcessResult failed =
        app::runProcess({"sh", "-c", "echo out; echo 'no such job' >&2; exit 3"});
    EXPECT_EQ(failed.exitCode, 3);
    EXPECT_EQ(failed.out, "out\n");
    EXPECT_EQ(app::describeFailure("sh", failed), "sh: no such job");
    const app::ProcessResult missing = app::runProcess({"/nonexistent/sbatch"});
    EXPECT_FALSE(missing.started);
    EXPECT_NE(app::describeFailure("sbatch", missing).find("/nonexistent/sbatch"), std::string::npos);
}

}  // namespace
