#pragma once
// Frames shared out among the tasks of a job array: consecutive runs of at most chunkSize frames,
// in the order given, so each task renders neighbouring frames.

#include <vector>

namespace app {

// chunkSize < 1 counts as 1.
std::vector<std::vector<int>> chunkFrames(const std::vector<int>& frames, int chunkSize);

}  // namespace app
