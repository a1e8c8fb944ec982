#include "app/FarmCommand.h"

#include "app/BatchScript.h"
#include "app/FarmJob.h"
#include "app/FarmStatus.h"
#include "app/FrameChunks.h"
#include "app/FrameList.h"
#include "app/HostSetup.h"
#include "app/ProcessRunner.h"
#include "app/SceneFiles.h"
#include "app/SharedFolder.h"
#include "app/SlurmTasks.h"
#include "standalone/import/SceneOrModel.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace app {

namespace fs = std::filesystem;

namespace {

std::string absolutePath(const std::string& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return (ec ? fs::path(path) : absolute).lexically_normal().string();
}

std::string thisProgram()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string("vermil") : self.string();
}

// sbatch --parsable prints "JOBID" or "JOBID;CLUSTER".
std::string jobIdOf(const std::string& out)
{
    std::string id = out.substr(0, out.find(';'));
    while (!id.empty() && std::isspace(static_cast<unsigned char>(id.back())))
        id.pop_back();
    const bool digits =
        !id.empty() && std::all_of(id.begin(), id.end(), [](unsigned char c) { return std::isdigit(c); });
    return digits ? id : std::string();
}

BatchJob batchJobOf(const FarmJob& job, const std::vector<int>& frames)
{
    BatchJob batch{job.vermil,
                   job.scene,
                   job.output,
                   {},
                   "vermil-" + fs::path(job.scene).stem().string(),
                   job.partition,
                   job.cpusPerTask,
                   job.size,
                   (farmFolder(job.output) / "slurm-%A_%a.log").string()};
    for (const std::vector<int>& chunk : chunkFrames(frames, job.chunkSize))
        batch.chunks.push_back(formatFrameList(chunk));
    return batch;
}

// Submits frames of job as a new array and records it; prints the job id. Exit code.
int submitArray(FarmJob& job, const std::vector<int>& frames, const std::vector<fs::path>& earlierRecords)
{
    const BatchJob batch = batchJobOf(job, frames);
    std::error_code ec;
    fs::create_directories(farmFolder(job.output), ec);
    if (ec) {
        fmt::print(stderr, "vermil farm: {}: cannot make the folder: {}\n", farmFolder(job.output).string(),
                   ec.message());
        return 1;
    }
    const ProcessResult sbatch = runProcess(sbatchCommand(batch), batchScript(batch));
    const std::string jobId = sbatch.started && sbatch.exitCode == 0 ? jobIdOf(sbatch.out) : std::string();
    if (jobId.empty()) {
        fmt::print(stderr, "vermil farm: the job was not submitted: {}\n",
                   sbatch.exitCode == 0 ? fmt::format("sbatch printed \"{}\", expected a job id", sbatch.out)
                                        : describeFailure("sbatch", sbatch));
        return 1;
    }
    job.arrays.push_back({jobId, batch.chunks});
    // Every id of the job finds the whole record.
    std::vector<fs::path> records = earlierRecords;
    records.push_back(recordPath(job.output, jobId));
    for (const fs::path& record : records)
        if (const std::string error = saveRecord(job, record); !error.empty()) {
            fmt::print(stderr, "vermil farm: job {} was submitted, but its record was not saved: {}\n", jobId,
                       error);
            return 1;
        }
    fmt::print("{}\n", jobId);
    return 0;
}

fs::path recordOf(const FarmJobOptions& options)
{
    if (options.job.find('/') != std::string::npos || fs::path(options.job).extension() == ".json")
        return options.job;
    return fs::path(options.dir.empty() ? "." : options.dir) / ".vermil-farm" / (options.job + ".json");
}

struct JobState {
    FarmJob job;
    fs::path record;
    FrameReport report;
    std::string accountingNote;
};

// Loads the record and asks Slurm about its tasks; false after printing why it could not.
bool readJobState(const FarmJobOptions& options, JobState& state)
{
    state.record = recordOf(options);
    std::string error;
    auto job = loadRecord(state.record, error);
    if (!job) {
        fmt::print(stderr, "vermil farm: {}\n", error);
        if (options.dir.empty() && !fs::exists(state.record))
            fmt::print(stderr, "vermil farm: give the folder the frames go to with --dir\n");
        return false;
    }
    state.job = std::move(*job);
    std::vector<std::string> ids;
    for (const FarmArray& array : state.job.arrays)
        ids.push_back(array.jobId);
    TaskQuery tasks = queryTasks(ids);
    if (!tasks.error.empty()) {
        fmt::print(stderr, "vermil farm: cannot ask Slurm about the job's tasks: {}\n", tasks.error);
        return false;
    }
    state.accountingNote = tasks.accountingNote;
    state.report =
        classifyFrames(state.job, listFiles(fs::path(state.job.output).parent_path()), tasks.states);
    return true;
}

void printFrames(const char* what, const std::vector<int>& frames)
{
    fmt::print("{:<8} {:>5}{}{}\n", what, frames.size(), frames.empty() ? "" : "  ", formatFrameList(frames));
}

}  // namespace

int runFarmSubmit(const FarmSubmitOptions& options, standalone::StandaloneCore& core)
{
    if (!options.partition.empty() && !isPartitionName(options.partition)) {
        fmt::print(stderr,
                   "vermil farm: --partition {}: expected a partition name or a comma-separated list\n",
                   options.partition);
        return 1;
    }
    std::unique_ptr<standalone::Scene> scene;
    try {
        scene = standalone::loadSceneOrModel(options.scenePath, core, {0, 0, printWarning});
    } catch (const std::exception& e) {
        fmt::print(stderr, "vermil: {}\n", e.what());
        return 1;
    }
    FarmJob job;
    job.scene = absolutePath(options.scenePath);
    job.output =
        absolutePath(!options.output.empty()         ? options.output
                     : !scene->render.output.empty() ? scene->render.output
                                                     : "out/" + fs::path(job.scene).stem().string() + ".png");
    job.vermil = options.vermil.empty() ? thisProgram() : options.vermil;
    job.chunkSize = options.chunkSize;
    job.partition = options.partition;
    job.cpusPerTask = options.cpusPerTask;
    job.size = options.size;
    if (!options.frames.empty()) {
        std::string error;
        auto frames = parseFrameList(options.frames, error);
        if (!frames) {
            fmt::print(stderr, "vermil farm: --frames {}: {}\n", options.frames, error);
            return 1;
        }
        job.frames = std::move(*frames);
    } else {
        for (int f = scene->render.startFrame; f <= scene->render.endFrame; ++f)
            job.frames.push_back(f);
    }

    // Nodes read the scene's files and write the frames at the paths seen here.
    const std::string shared =
        absolutePath(options.shared.empty() ? fs::path(job.scene).parent_path().string() : options.shared);
    std::vector<std::string> outside = outsideFolder(sceneFiles(*scene, options.scenePath), shared);
    const std::string outputFolder = fs::path(job.output).parent_path().string();
    const bool outputOutside = !outsideFolder({outputFolder}, shared).empty();
    if (!outside.empty() || outputOutside) {
        fmt::print(
            stderr,
            "vermil farm: not submitted: every node must see the job's files in the shared folder {}{}\n",
            shared, options.shared.empty() ? " (the scene's folder; --shared names another)" : "");
        for (const std::string& file : outside)
            fmt::print(stderr, "  outside it: {}\n", file);
        if (outputOutside)
            fmt::print(stderr, "  outside it: {} (the output folder; -o names another)\n", outputFolder);
        return 1;
    }

    if (options.dryRun) {
        const BatchJob batch = batchJobOf(job, job.frames);
        std::string command;
        for (const std::string& arg : sbatchCommand(batch))
            command += (command.empty() ? "" : " ") + shellQuote(arg);
        fmt::print("# Submitted with: {} < this-script\n{}", command, batchScript(batch));
        return 0;
    }
    return submitArray(job, job.frames, {});
}

int runFarmStatus(const FarmJobOptions& options)
{
    JobState state;
    if (!readJobState(options, state))
        return 1;
    std::string ids;
    for (const FarmArray& array : state.job.arrays)
        ids += (ids.empty() ? "" : ", ") + array.jobId;
    fmt::print("job {}: {}, frames {} into {}\n", ids, state.job.scene, formatFrameList(state.job.frames),
               state.job.output);
    printFrames("done", state.report.done);
    printFrames("running", state.report.running);
    printFrames("failed", state.report.failed);
    printFrames("missing", state.report.missing);
    if (!state.accountingNote.empty())
        fmt::print("note: tasks that ended count as missing, not failed: {}\n", state.accountingNote);
    return 0;
}

int runFarmResubmit(const FarmJobOptions& options)
{
    JobState state;
    if (!readJobState(options, state))
        return 1;
    std::vector<int> frames = state.report.missing;
    frames.insert(frames.end(), state.report.failed.begin(), state.report.failed.end());
    std::sort(frames.begin(), frames.end());
    if (frames.empty()) {
        fmt::print(stderr, "vermil farm: nothing to resubmit: {} frames done, {} queued or running\n",
                   state.report.done.size(), state.report.running.size());
        return 0;
    }
    std::vector<fs::path> records;
    for (const FarmArray& array : state.job.arrays)
        records.push_back(recordPath(state.job.output, array.jobId));
    return submitArray(state.job, frames, records);
}

}  // namespace app
