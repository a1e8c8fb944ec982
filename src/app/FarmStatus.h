#pragma once
// Where each frame of a farm job stands. A frame is done when its image is in the output folder:
// vermil writes each frame through a temporary file, so a task killed while writing leaves no
// image under the final name. A frame not there is running while the latest task given it is
// queued or running, failed when that task ended in failure, and missing otherwise.

#include "app/FarmJob.h"
#include "app/SlurmTasks.h"

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace app {

struct FrameReport {
    std::vector<int> done, running, failed, missing;
};

// files: the names of the files in the output folder (without their folder).
FrameReport classifyFrames(const FarmJob& job, const std::set<std::string>& files, const TaskStates& tasks);

// The names of the regular files in folder; empty when it cannot be read.
std::set<std::string> listFiles(const std::filesystem::path& folder);

}  // namespace app
