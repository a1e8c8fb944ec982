#pragma once
// A model file that cannot be imported: missing, unreadable, corrupt, truncated or holding
// nothing usable. The message is "<file>: cannot import: <reason>".

#include <stdexcept>
#include <string>

namespace standalone {

class ImportError : public std::runtime_error {
public:
    ImportError(const std::string& file, const std::string& reason);

    const std::string& file() const { return file_; }
    const std::string& reason() const { return reason_; }

private:
    std::string file_, reason_;
};

}  // namespace standalone
