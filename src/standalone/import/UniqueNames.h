#pragma once
// Names that stay unique within a set: a name already taken gets the first free suffix ".1",
// ".2", ... Imported objects keep their file names where they can, so documents can address them.

#include <set>
#include <string>

namespace standalone::import {

class UniqueNames {
public:
    void reserve(const std::string& name) { taken_.insert(name); }
    bool taken(const std::string& name) const { return taken_.count(name) != 0; }
    // wanted (or fallback when wanted is empty) made unique, and taken.
    std::string claim(const std::string& wanted, const std::string& fallback);

private:
    std::set<std::string> taken_;
};

}  // namespace standalone::import
