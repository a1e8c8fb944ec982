#include "app/BatchScript.h"

#include <fmt/core.h>

#include <cctype>

namespace app {

namespace {

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '_' || c == '-';
}

// Slurm expands %A, %a, ... in file names; a % of the folder's own name is written %%.
std::string slurmFilePattern(const std::string& path)
{
    std::string out;
    for (std::size_t i = 0; i < path.size(); ++i) {
        const bool ours = path[i] == '%' && i + 1 < path.size() && (path[i + 1] == 'A' || path[i + 1] == 'a');
        out += path[i] == '%' && !ours ? "%%" : std::string(1, path[i]);
        if (ours)
            out += path[++i];
    }
    return out;
}

}  // namespace

std::string shellQuote(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string slurmName(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += isNameChar(c) ? c : '_';
    return out.empty() ? "_" : out;
}

bool isPartitionName(const std::string& text)
{
    if (text.empty() || text.front() == ',' || text.back() == ',')
        return false;
    for (char c : text)
        if (!isNameChar(c) && c != ',')
            return false;
    return true;
}

std::string batchScript(const BatchJob& job)
{
    std::string s = "#!/bin/bash\n";
    s += fmt::format("#SBATCH --job-name={}\n", slurmName(job.jobName));
    s += fmt::format("#SBATCH --array=0-{}\n", job.chunks.empty() ? 0 : job.chunks.size() - 1);
    if (!job.partition.empty())
        s += fmt::format("#SBATCH --partition={}\n", job.partition);
    if (job.cpusPerTask > 0)
        s += fmt::format("#SBATCH --cpus-per-task={}\n", job.cpusPerTask);
    s += "# Written by `vermil farm submit`: array task N renders the frames of chunks[N].\n";
    s += "set -eu\n";
    s += "chunks=(";
    for (std::size_t i = 0; i < job.chunks.size(); ++i)
        s += (i ? " " : "") + shellQuote(job.chunks[i]);
    s += ")\n";
    s += "frames=${chunks[$SLURM_ARRAY_TASK_ID]}\n";
    // SLURM_CPUS_PER_TASK is set only with --cpus-per-task; SLURM_CPUS_ON_NODE is what the task got.
    s += "threads=${SLURM_CPUS_PER_TASK:-${SLURM_CPUS_ON_NODE:-0}}\n";
    s += fmt::format("exec {} render {} --frames \"$frames\" -o {} --threads \"$threads\" --quiet",
                     shellQuote(job.vermil), shellQuote(job.scene), shellQuote(job.output));
    if (!job.size.empty())
        s += " --size " + shellQuote(job.size);
    return s + "\n";
}

std::vector<std::string> sbatchCommand(const BatchJob& job)
{
    return {"sbatch", "--parsable", "--output=" + slurmFilePattern(job.log)};
}

}  // namespace app
