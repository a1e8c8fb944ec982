#pragma once
// Where a value sits in a scene document: the file and the value's JSON pointer. Readers carry
// one along and fail through it, so every error names its place.

#include <nlohmann/json.hpp>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace standalone::document {

// Objects keep their keys in document order, so values are set and errors found in the order
// the user wrote them.
using Json = nlohmann::ordered_json;

class JsonLocation {
public:
    explicit JsonLocation(std::string file) : file_(std::make_shared<const std::string>(std::move(file))) {}

    JsonLocation operator/(std::string_view key) const;
    JsonLocation operator/(std::size_t index) const;

    const std::string& file() const { return *file_; }
    const std::string& pointer() const { return pointer_; }  // "" for the whole document

    // Throws SceneError naming this place.
    [[noreturn]] void fail(const std::string& what) const;

private:
    std::shared_ptr<const std::string> file_;
    std::string pointer_;
};

}  // namespace standalone::document
