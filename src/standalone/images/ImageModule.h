#pragma once
// Finding and loading the image module (see ImageCodecs.h).

#include "standalone/images/ImageCodecs.h"

#include <filesystem>
#include <string>
#include <vector>

namespace standalone {

// The codecs, the module loaded at the first call; null with `error` set when it cannot be.
// Safe on any thread.
const ImageCodecs* imageCodecs(std::string& error);

// Where the module is looked for, in order: beside the program, where an installation puts it
// (../lib/vermil), then where this build made it.
std::vector<std::filesystem::path> imageModuleCandidates();

struct LoadedImageModule {
    const ImageCodecs* codecs = nullptr;
    std::string error;  // when codecs is null: what was tried and why each failed
};

// Loads the first of `candidates` that is a module of this build; it stays loaded.
LoadedImageModule loadImageModule(const std::vector<std::filesystem::path>& candidates);

}  // namespace standalone
