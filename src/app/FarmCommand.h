#pragma once
// `vermil farm`: renders a scene's frames on a Slurm cluster as a job array, reports which
// frames are done, and resubmits those that are missing. docs/farm.md tells how to set it up.

#include <string>

namespace standalone {
class StandaloneCore;
}

namespace app {

struct FarmSubmitOptions {
    std::string scenePath;
    std::string frames;  // as `vermil render --frames`; empty: the document's range
    int chunkSize = 10;  // frames per array task
    std::string partition;
    std::string shared;  // the folder every node sees; empty: the scene's folder
    std::string output;  // empty: the document's output, else out/NAME.png
    std::string vermil;  // the program on the nodes; empty: this one
    std::string size;    // WxH passed to `vermil render --size`
    int cpusPerTask = 0;
    bool dryRun = false;  // print the batch script instead of submitting it
};

struct FarmJobOptions {
    std::string job;  // a job id, or the path of its record
    std::string dir;  // the folder the frames go to, holding .vermil-farm; empty: the current one
};

// Exit codes: 0 success, 1 failure (message on stderr).
int runFarmSubmit(const FarmSubmitOptions& options, standalone::StandaloneCore& core);
int runFarmStatus(const FarmJobOptions& options);
int runFarmResubmit(const FarmJobOptions& options);

}  // namespace app
