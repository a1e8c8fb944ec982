#include "standalone/document/JsonText.h"

#include "standalone/SceneDocument.h"

#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

namespace standalone::document {

namespace {

// Length of the UTF-8 sequence starting at s[i], 0 when it is not well formed.
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return n;
}

struct Position {
    int line = 1, column = 1;
};

// Line and column of byte offset `offset` (columns count bytes, from 1).
Position positionOf(std::string_view text, std::size_t offset)
{
    Position p;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
        if (text[i] == '\n')
            ++p.line, p.column = 1;
        else
            ++p.column;
    }
    return p;
}

// Checks what the JSON parser does not: nesting depth, and numbers a double cannot hold (the
// parser reports those without a position). Strings and comments are skipped; anything
// malformed is left for the parser to report.
void prescan(std::string_view text, const std::string& file)
{
    int depth = 0;
    Position pos;
    auto fail = [&](const std::string& what) { throw SceneError(file, pos.line, pos.column, what); };
    std::size_t i = 0;
    auto advance = [&](std::size_t n) {
        for (; n > 0 && i < text.size(); --n, ++i) {
            if (text[i] == '\n')
                ++pos.line, pos.column = 1;
            else
                ++pos.column;
        }
    };
    while (i < text.size()) {
        const char c = text[i];
        const std::string_view rest = text.substr(i);
        if (c == '"') {
            advance(1);
            while (i < text.size() && text[i] != '"' && text[i] != '\n')
                advance(text[i] == '\\' ? 2 : 1);
            advance(1);
        } else if (rest.starts_with("//")) {
            // Ended where the parser ends it, or what follows a carriage return would go unchecked.
            while (i < text.size() && text[i] != '\n' && text[i] != '\r' && text[i] != '\0')
                advance(1);
        } else if (rest.starts_with("/*")) {
            const std::size_t end = rest.find("*/", 2);
            advance(end == std::string_view::npos ? rest.size() : end + 2);
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxDepth)
                fail(fmt::format("values nest deeper than {} levels", kMaxDepth));
            advance(1);
        } else if (c == ']' || c == '}') {
            --depth;
            advance(1);
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const std::size_t n = rest.find_first_not_of("+-0123456789.eE");
            const std::string token(rest.substr(0, n));
            if (!std::isfinite(std::strtod(token.c_str(), nullptr)))
                fail("the number " + token + " is too large");
            advance(token.size());
        } else {
            advance(1);
        }
    }
}

}  // namespace

std::string printable(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const std::size_t n = utf8Length(text, i);
        if (n == 0 || c < 0x20 || c == 0x7F) {
            out += fmt::format("\\x{:02X}", c);
            ++i;
        } else {
            out.append(text.substr(i, n));
            i += n;
        }
    }
    return out;
}

Json parseJsonText(std::string_view text, const std::string& file)
{
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos)
        throw SceneError(file, "", "the document is empty; expected a JSON object");
    prescan(text, file);
    try {
        return Json::parse(text, nullptr, true, true);
    } catch (const Json::parse_error& e) {
        // e.byte is the 1-based offset of the last byte read.
        const Position p = positionOf(text, e.byte > 0 ? e.byte - 1 : 0);
        std::string reason = e.what();
        // Drop the parser's own "[json.exception...] parse error at line L, column C: " prefix.
        if (std::size_t at = reason.find("column "); at != std::string::npos)
            if (std::size_t colon = reason.find(": ", at); colon != std::string::npos)
                reason = reason.substr(colon + 2);
        throw SceneError(file, p.line, p.column, reason);
    } catch (const Json::exception& e) {
        throw SceneError(file, "", e.what());
    }
}

}  // namespace standalone::document
