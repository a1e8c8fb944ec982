#pragma once
// What every harness shares: one host set up as the program sets it up, with its settings folders
// and every file a reader is given inside a private scratch folder that goes when the process ends.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace standalone {
class StandaloneCore;
}

namespace fuzz {

// The scratch folder, with a trailing '/'. Made at the first call.
const std::string& scratchDir();

// Writes the bytes to scratchDir() + name, replacing what was there; answers the path.
std::string writeScratchFile(const std::string& name, std::span<const std::uint8_t> bytes);

// Reports a broken promise of a reader as "harness: <what>" and aborts, which libFuzzer records as
// a crash with the input.
[[noreturn]] void fail(const std::string& what);

// The program's host (app::setUpHost), quiet, its settings folders under the scratch folder. Made
// at the first call; message boxes are forgotten at every call so they cannot pile up.
standalone::StandaloneCore& host();

}  // namespace fuzz
