#pragma once
// The folder every node of a render farm sees at the same path: the files a job reads and the
// folder it writes must lie inside it.

#include <string>
#include <vector>

namespace app {

// The paths (absolute, or relative to the current folder) that do not lie inside folder, in
// the order given. Symbolic links are followed, so a link out of the folder counts as outside.
std::vector<std::string> outsideFolder(const std::vector<std::string>& paths, const std::string& folder);

}  // namespace app
