#include "standalone/import/UniqueNames.h"

namespace standalone::import {

std::string UniqueNames::claim(const std::string& wanted, const std::string& fallback)
{
    const std::string base = wanted.empty() ? fallback : wanted;
    std::string name = base;
    for (int n = 1; taken(name); ++n)
        name = base + "." + std::to_string(n);
    taken_.insert(name);
    return name;
}

}  // namespace standalone::import
