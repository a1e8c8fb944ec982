#include "standalone/import/ImportError.h"

#include "standalone/document/JsonText.h"

namespace standalone {

// Assimp's reasons quote the file's own bytes, which may be anything; printable() keeps the
// message on one readable line, as scene errors are.
ImportError::ImportError(const std::string& file, const std::string& reason)
    : std::runtime_error(document::printable(file + ": cannot import: " + reason)), file_(file),
      reason_(document::printable(reason))
{}

}  // namespace standalone
