#include "app/SlurmTasks.h"

#include "app/FrameList.h"
#include "app/ProcessRunner.h"

#include <fmt/core.h>

#include <sstream>

namespace app {

TaskState taskState(const std::string& slurmState)
{
    const std::string word = slurmState.substr(0, slurmState.find(' '));
    for (const char* ended : {"COMPLETED", "CD"})
        if (word == ended)
            return TaskState::ended;
    for (const char* failed :
         {"FAILED",    "F",  "CANCELLED", "CA", "TIMEOUT",   "TO", "NODE_FAIL", "NF", "OUT_OF_MEMORY", "OOM",
          "BOOT_FAIL", "BF", "DEADLINE",  "DL", "PREEMPTED", "PR", "REVOKED",   "RV", "SPECIAL_EXIT",  "SE"})
        if (word == failed)
            return TaskState::failed;
    return TaskState::active;
}

void readTaskLines(const std::string& text, TaskStates& states)
{
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t bar = line.find('|');
        const std::size_t underscore = line.find('_');
        if (bar == std::string::npos || underscore == std::string::npos || underscore > bar)
            continue;
        const std::string id = line.substr(0, bar);
        if (id.find('.') != std::string::npos)
            continue;
        const std::string job = id.substr(0, underscore);
        std::string tasks = id.substr(underscore + 1);
        // "[3-5,7%2]": a pending range, with an optional limit of tasks run at once.
        if (!tasks.empty() && tasks.front() == '[' && tasks.back() == ']')
            tasks = tasks.substr(1, std::min(tasks.find('%'), tasks.size() - 1) - 1);
        std::string error;
        const auto list = parseFrameList(tasks, error);
        if (!list)
            continue;
        const TaskState state = taskState(line.substr(bar + 1));
        for (int task : *list)
            states[fmt::format("{}_{}", job, task)] = state;
    }
}

TaskQuery queryTasks(const std::vector<std::string>& jobIds)
{
    TaskQuery query;
    std::string ids;
    for (const std::string& id : jobIds)
        ids += (ids.empty() ? "" : ",") + id;
    // Ended tasks first, so what the queue says now wins.
    const ProcessResult sacct = runProcess(
        {"sacct", "--noheader", "--parsable2", "--allocations", "--format=JobID,State", "--jobs=" + ids});
    if (sacct.started && sacct.exitCode == 0)
        readTaskLines(sacct.out, query.states);
    else
        query.accountingNote = describeFailure("sacct", sacct);
    // The whole queue rather than --jobs: squeue refuses ids it no longer knows.
    const ProcessResult squeue = runProcess({"squeue", "--noheader", "--array", "--format=%i|%T"});
    if (!squeue.started || squeue.exitCode != 0) {
        query.error = describeFailure("squeue", squeue);
        return query;
    }
    TaskStates queued;
    readTaskLines(squeue.out, queued);
    for (const std::string& id : jobIds)
        for (auto it = queued.lower_bound(id + "_"); it != queued.end() && it->first.rfind(id + "_", 0) == 0;
             ++it)
            query.states[it->first] = it->second;
    return query;
}

}  // namespace app
