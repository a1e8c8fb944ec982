#pragma once
// What Slurm says of a job array's tasks: squeue for those queued or running, sacct (where the
// cluster keeps accounting) for those that ended.

#include <map>
#include <string>
#include <vector>

namespace app {

enum class TaskState {
    active,  // pending, running, or being requeued
    failed,  // ended without finishing: failed, cancelled, timed out, node failure, ...
    ended,   // completed
};

// By "JOBID_TASK", as Slurm names array tasks.
using TaskStates = std::map<std::string, TaskState>;

// A state word of squeue or sacct ("RUNNING", "CANCELLED by 0", "PD").
TaskState taskState(const std::string& slurmState);

// Lines "JOBID_TASK|STATE" (squeue --format=%i|%T --array, sacct --parsable2 --format=JobID,State)
// into states; a pending range "12_[3-5,7]" gives each task, job steps ("12_3.batch") are skipped.
void readTaskLines(const std::string& text, TaskStates& states);

struct TaskQuery {
    TaskStates states;
    std::string error;           // squeue failed (its message): nothing is known
    std::string accountingNote;  // why sacct gave nothing, empty when it answered
};

TaskQuery queryTasks(const std::vector<std::string>& jobIds);

}  // namespace app
