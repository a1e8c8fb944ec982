#pragma once
// Judging a rendered image against a reference the way image test suites do: a per-channel
// difference above `fail` counts against the image, which fails when more than `failFraction` of
// its values do so, or when any one differs by more than `hardFail`. Values are 0..1.

#include <filesystem>
#include <string>

namespace test_support {

struct ImageTolerance {
    float fail = 0.01f;
    float failFraction = 0.001f;
    float hardFail = 0.1f;
};

struct ImageVerdict {
    bool pass = false;
    std::string summary;  // the figures, and where the new and difference images went on failure
};

// Compares the image file `actual` with `reference`. On failure writes NAME.new.png (the actual
// image) and NAME.diff.png (the absolute difference, brightened fourfold) beside the reference.
// With VERMIL_UPDATE_REFERENCES=1 in the environment the reference is replaced by `actual`
// instead, and the verdict passes.
ImageVerdict compareWithReference(const std::filesystem::path& actual, const std::filesystem::path& reference,
                                  const ImageTolerance& tolerance = {});

}  // namespace test_support
