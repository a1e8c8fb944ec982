#pragma once
// One text of a string table, and the shape every table must have.

#include <cstddef>

namespace vml::resources {

struct StringEntry {
    int id;
    const char* text;
};

// Ids strictly ascending (the lookup is a binary search) and every text non-empty (an empty text
// would pass for a found one).
template <std::size_t N> constexpr bool isWellFormed(const StringEntry (&table)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        if (table[i].text == nullptr || table[i].text[0] == '\0')
            return false;
        if (i > 0 && table[i - 1].id >= table[i].id)
            return false;
    }
    return true;
}

// The same ids in the same order: every text exists in every language.
template <std::size_t N, std::size_t M>
constexpr bool haveSameIds(const StringEntry (&a)[N], const StringEntry (&b)[M])
{
    if (N != M)
        return false;
    for (std::size_t i = 0; i < N; ++i)
        if (a[i].id != b[i].id)
            return false;
    return true;
}

}  // namespace vml::resources
