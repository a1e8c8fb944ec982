#pragma once
// Frame lists of the command line: "12", "0-23", "1,5,9" or mixes such as "0-3,10".

#include "standalone/images/ImageOutput.h"

#include <optional>
#include <string>
#include <vector>

namespace app {

// The frames in the order given, duplicates dropped; nullopt (with error set) for malformed text,
// reversed ranges or lists longer than maxFrames.
std::optional<std::vector<int>> parseFrameList(const std::string& text, std::string& error,
                                               std::size_t maxFrames = 100000);

// The frames as parseFrameList reads them back, runs of consecutive frames as ranges:
// {0,1,2,3,7,9,10} gives "0-3,7,9-10".
std::string formatFrameList(const std::vector<int>& frames);

using standalone::numberedPath;

}  // namespace app
