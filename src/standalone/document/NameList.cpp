#include "standalone/document/NameList.h"

#include <algorithm>
#include <cctype>

namespace standalone::document {

namespace {

// Edits (insertions, deletions, substitutions and swaps of neighbours) that turn a into b,
// ignoring case.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    auto same = [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    };
    const std::size_t width = b.size() + 1;
    std::vector<std::size_t> d((a.size() + 1) * width);
    auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * width + j]; };
    for (std::size_t i = 0; i <= a.size(); ++i)
        at(i, 0) = i;
    for (std::size_t j = 0; j <= b.size(); ++j)
        at(0, j) = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            at(i, j) = std::min(
                {at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + (same(a[i - 1], b[j - 1]) ? 0 : 1)});
            if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) && same(a[i - 2], b[j - 1]))
                at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
        }
    return at(a.size(), b.size());
}

}  // namespace

std::string joinNames(const std::vector<std::string>& names)
{
    if (names.empty())
        return "(none)";
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ", ") + n;
    return out;
}

std::string closestName(std::string_view name, const std::vector<std::string>& names)
{
    // Long names from a document are not misspellings of short ones; don't spend time on them.
    if (name.size() > 64)
        return {};
    std::string best;
    std::size_t bestDistance = std::max<std::size_t>(1, name.size() / 3) + 1;
    for (const std::string& candidate : names) {
        if (candidate.size() > 64)
            continue;
        const std::size_t d = editDistance(name, candidate);
        if (d < bestDistance)
            bestDistance = d, best = candidate;
    }
    return best;
}

std::string unknownNameMessage(std::string_view what, std::string_view name,
                               const std::vector<std::string>& valid, std::string_view validIntro)
{
    std::string message = std::string(what) + " \"" + std::string(name.substr(0, 100)) + "\"";
    if (std::string near = closestName(name, valid); !near.empty())
        message += " (did you mean \"" + near + "\"?)";
    return message + "; " + std::string(validIntro) + ": " + joinNames(valid);
}

}  // namespace standalone::document
