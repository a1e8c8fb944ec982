#include "standalone/primitives/PrimitiveParams.h"

#include <fmt/format.h>

namespace standalone {

std::string ValueRange::describe() const
{
    if (minExclusive)
        return fmt::format("greater than {:.7g} and at most {:.7g}", min, max);
    return fmt::format("from {:.7g} to {:.7g}", min, max);
}

std::string rangeError(std::string_view name, const ValueRange& range, double value)
{
    return fmt::format("{} must be {} (got {:.7g})", name, range.describe(), value);
}

}  // namespace standalone
