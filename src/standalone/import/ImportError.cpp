#include "standalone/import/ImportError.h"

namespace standalone {

ImportError::ImportError(const std::string& file, const std::string& reason)
    : std::runtime_error(file + ": cannot import: " + reason), file_(file), reason_(reason)
{}

}  // namespace standalone
