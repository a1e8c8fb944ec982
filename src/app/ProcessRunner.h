#pragma once
// Runs a program with an argument list (no shell, so paths reach it exactly as given), feeds it
// text on stdin and collects what it prints. How `vermil farm` talks to Slurm's commands.

#include <string>
#include <vector>

namespace app {

struct ProcessResult {
    bool started = false;  // false: the program could not be run (error says why)
    int exitCode = -1;     // 128 + N when it was ended by signal N
    std::string out, err;
    std::string error;
};

// argv[0] is looked up on PATH when it has no '/'.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = {});

// "sbatch: error: ..." for messages: the program's stderr, else its exit code.
std::string describeFailure(const std::string& program, const ProcessResult& result);

}  // namespace app
