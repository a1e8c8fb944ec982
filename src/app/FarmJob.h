#pragma once
// The record of a farm job, kept beside its frames in .vermil-farm/JOBID.json: what `vermil farm
// status` and `resubmit` need to find the frames and the tasks that render them. A resubmission
// adds its job array to the record, which is then saved under each of its job ids.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace app {

struct FarmArray {
    std::string jobId;
    std::vector<std::string> chunks;  // frame lists, one per array task
};

struct FarmJob {
    std::string scene;   // absolute
    std::string output;  // absolute, as `vermil render -o`
    std::string vermil;  // the program the nodes run
    std::vector<int> frames;
    int chunkSize = 1;
    std::string partition;
    int cpusPerTask = 0;
    std::string size;
    std::vector<FarmArray> arrays;  // the first submission first
};

// The folder of records and task logs beside the frames of output.
std::filesystem::path farmFolder(const std::string& output);
std::filesystem::path recordPath(const std::string& output, const std::string& jobId);

std::string toJsonText(const FarmJob& job);

// Writes through a temporary file, so a failed save leaves the previous record whole. Returns
// an empty string, else what failed.
std::string saveRecord(const FarmJob& job, const std::filesystem::path& path);

// nullopt with error naming the file and what was expected.
std::optional<FarmJob> loadRecord(const std::filesystem::path& path, std::string& error);

}  // namespace app
