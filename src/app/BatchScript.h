#pragma once
// The sbatch script of a farm job: a job array whose task N renders chunk N of the frames with
// `vermil render`, on as many threads as Slurm gave it. Every path is quoted for the shell, so
// folders with spaces or quotes reach vermil unchanged.

#include <string>
#include <vector>

namespace app {

struct BatchJob {
    std::string vermil;  // the program on the nodes
    std::string scene;
    std::string output;               // as `vermil render -o`: frame numbers are added to it
    std::vector<std::string> chunks;  // frame lists, one per array task
    std::string jobName;
    std::string partition;  // empty: the cluster's default
    int cpusPerTask = 0;    // 0: the cluster's default
    std::string size;       // `vermil render --size`, empty: the document's
    std::string log;        // the tasks' output file, with Slurm's %A (job) and %a (task)
};

// text in single quotes, a single quote inside as '\''.
std::string shellQuote(const std::string& text);

// Letters, digits and ._- kept, anything else '_': names that need no quoting in #SBATCH lines.
std::string slurmName(const std::string& text);

// A partition list as sbatch takes it ("debug" or "a,b"); false for anything else.
bool isPartitionName(const std::string& text);

std::string batchScript(const BatchJob& job);

// The command that submits the script on its stdin, printing the job id alone. The log path goes
// here rather than in the script: sbatch reads #SBATCH lines without a shell's quoting.
std::vector<std::string> sbatchCommand(const BatchJob& job);

}  // namespace app
