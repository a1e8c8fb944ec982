#include "app/FarmStatus.h"

#include "app/FrameList.h"

#include <fmt/core.h>

#include <map>

namespace app {

FrameReport classifyFrames(const FarmJob& job, const std::set<std::string>& files, const TaskStates& tasks)
{
    // The task that renders each frame: later arrays (resubmissions) take over from earlier ones.
    std::map<int, std::string> taskOf;
    for (const FarmArray& array : job.arrays)
        for (std::size_t i = 0; i < array.chunks.size(); ++i) {
            std::string error;
            if (const auto frames = parseFrameList(array.chunks[i], error))
                for (int frame : *frames)
                    taskOf[frame] = fmt::format("{}_{}", array.jobId, i);
        }
    FrameReport report;
    for (int frame : job.frames) {
        if (files.count(std::filesystem::path(numberedPath(job.output, frame)).filename().string())) {
            report.done.push_back(frame);
            continue;
        }
        const auto task = taskOf.find(frame);
        const auto state = task == taskOf.end() ? tasks.end() : tasks.find(task->second);
        if (state != tasks.end() && state->second == TaskState::active)
            report.running.push_back(frame);
        else if (state != tasks.end() && state->second == TaskState::failed)
            report.failed.push_back(frame);
        else
            report.missing.push_back(frame);
    }
    return report;
}

std::set<std::string> listFiles(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.is_regular_file(ec))
            names.insert(entry.path().filename().string());
    return names;
}

}  // namespace app
