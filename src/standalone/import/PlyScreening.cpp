#include "standalone/import/PlyScreening.h"

#include "standalone/document/JsonText.h"

#include <fmt/format.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace standalone::import {

namespace {

struct PlyType {
    std::string_view name;
    int size;
    bool integer;
    bool isSigned;
};

// The types PLY has, by both of their names, and the one more name Assimp reads.
constexpr std::array<PlyType, 17> kTypes = {{{"char", 1, true, true},
                                             {"int8", 1, true, true},
                                             {"uchar", 1, true, false},
                                             {"uint8", 1, true, false},
                                             {"short", 2, true, true},
                                             {"int16", 2, true, true},
                                             {"ushort", 2, true, false},
                                             {"uint16", 2, true, false},
                                             {"int", 4, true, true},
                                             {"int32", 4, true, true},
                                             {"uint", 4, true, false},
                                             {"uint32", 4, true, false},
                                             {"float", 4, false, true},
                                             {"float32", 4, false, true},
                                             {"double", 8, false, true},
                                             {"float64", 8, false, true},
                                             {"double64", 8, false, true}}};

const PlyType* typeNamed(std::string_view name)
{
    for (const PlyType& type : kTypes)
        if (type.name == name)
            return &type;
    return nullptr;
}

struct Property {
    const PlyType* type = nullptr;
    const PlyType* countType = nullptr;  // a list's, else null
    bool vertexIndices = false;          // the list Assimp makes a face of
};

struct Element {
    std::string name;
    std::uint64_t count = 0;
    std::vector<Property> properties;
    // Assimp aborts on a face without vertices (its triangulation asserts on the count).
    bool mustListVertices(const Property& property) const { return name == "face" && property.vertexIndices; }
};

enum class Format { ascii, littleEndian, bigEndian };

bool isLineEnd(char c) { return c == '\n' || c == '\r' || c == '\0' || c == '\f'; }

// Lines as Assimp's PLY reader takes them: a line runs to its first line end (\n, \r, \0 or \f),
// which is consumed with it; a line that would start on a line end (the \n of a \r\n, or a
// blank line) first skips up to and past the next \n. Text lines must end in \n or \r\n
// (faultyEnd), so that Assimp and this check see the same lines.
class Lines {
public:
    explicit Lines(std::string_view bytes) : bytes_(bytes) {}
    bool next(std::string_view& line)
    {
        if (at_ < bytes_.size() && isLineEnd(bytes_[at_])) {
            const std::size_t newline = bytes_.find('\n', at_);
            if (newline == std::string_view::npos)
                return false;
            moveTo(newline + 1);
        }
        if (at_ >= bytes_.size())
            return false;
        std::size_t end = at_;
        while (end < bytes_.size() && !isLineEnd(bytes_[end]))
            ++end;
        line = bytes_.substr(at_, end - at_);
        lineNumber_ = newlines_ + 1;
        ending_ = end < bytes_.size() ? bytes_[end] : '\n';
        endingAlone_ = ending_ == '\r' && (end + 1 >= bytes_.size() || bytes_[end + 1] != '\n');
        moveTo(std::min(end + 1, bytes_.size()));
        return true;
    }
    // Why the last line's end is not \n or \r\n, or nothing.
    std::optional<std::string> faultyEnd() const
    {
        if (ending_ == '\n' || (ending_ == '\r' && !endingAlone_))
            return std::nullopt;
        return fmt::format("ends in the byte 0x{:02X}{} (a PLY text line ends in \\n or \\r\\n)",
                           static_cast<unsigned char>(ending_), ending_ == '\r' ? " alone" : "");
    }
    // Where the next line starts, just past the last one's end.
    std::size_t offset() const { return at_; }
    // The number of the last line, as an editor counts them.
    std::size_t number() const { return lineNumber_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    std::size_t newlines_ = 0;  // before at_
    std::size_t lineNumber_ = 0;
    char ending_ = '\n';
    bool endingAlone_ = false;

    void moveTo(std::size_t to)
    {
        for (; at_ < to; ++at_)
            newlines_ += bytes_[at_] == '\n' ? 1 : 0;
    }
};

// Whitespace-separated words of a line.
class Words {
public:
    explicit Words(std::string_view line) : line_(line) {}
    bool next(std::string_view& word)
    {
        while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t'))
            ++at_;
        if (at_ >= line_.size())
            return false;
        const std::size_t start = at_;
        while (at_ < line_.size() && line_[at_] != ' ' && line_[at_] != '\t')
            ++at_;
        word = line_.substr(start, at_ - start);
        return true;
    }
    std::size_t countLeft() const
    {
        Words rest = *this;
        std::size_t n = 0;
        for (std::string_view word; rest.next(word);)
            ++n;
        return n;
    }

private:
    std::string_view line_;
    std::size_t at_ = 0;
};

constexpr std::uint64_t kMaxCount = std::numeric_limits<std::uint32_t>::max();

// A count of digits alone, at most what Assimp holds (32 bits).
std::optional<std::uint64_t> countOf(std::string_view word)
{
    if (word.empty() || word.size() > 10)
        return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : word) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value <= kMaxCount ? std::optional(value) : std::nullopt;
}

// A word of the file in a message: printable, and cut short when long (a binary body read as text
// can make one of any length).
std::string inQuotes(std::string_view text)
{
    constexpr std::size_t kShown = 32;
    return "\"" + document::printable(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

struct Header {
    Format format = Format::ascii;
    bool formatKnown = false;
    std::vector<Element> elements;
    std::size_t bodyOffset = 0;  // where Assimp starts a binary body
};

// The header's elements, read up to and with its "end_header" line, or why it is refused.
std::optional<std::string> readHeader(Lines& lines, Header& header)
{
    std::string_view line;
    // Assimp gives an element the property lines that follow its line, comments between them
    // allowed; any other line ends them, and later property lines are dropped.
    bool takesProperties = false;
    while (lines.next(line)) {
        auto fault = [&](const std::string& what) {
            return "line " + std::to_string(lines.number()) + " of the PLY header: " + what;
        };
        Words words(line);
        std::string_view keyword;
        if (words.next(keyword) && keyword == "end_header") {
            // A binary body starts past the one byte that ends the line, as Assimp reads it.
            header.bodyOffset = lines.offset();
            return std::nullopt;
        }
        if (auto end = lines.faultyEnd())
            return fault(*end);
        if (keyword == "comment")
            continue;
        if (keyword != "property")
            takesProperties = keyword == "element";
        if (lines.number() == 1 || keyword.empty())
            continue;  // the magic, or a blank line
        if (keyword == "format" && !header.formatKnown) {
            std::string_view format;
            words.next(format);
            // As Assimp tells them: "binary_" and then big endian when a 'b' follows.
            if (format == "ascii")
                header.format = Format::ascii;
            else if (format.starts_with("binary_"))
                header.format =
                    format.size() > 7 && std::tolower(static_cast<unsigned char>(format[7])) == 'b'
                        ? Format::bigEndian
                        : Format::littleEndian;
            else
                continue;
            header.formatKnown = true;
        } else if (keyword == "element") {
            std::string_view name, count;
            if (!words.next(name) || !words.next(count))
                return fault("\"element\" needs a name and a count");
            const std::optional<std::uint64_t> n = countOf(count);
            if (!n)
                return fault("the count of element " + inQuotes(name) + " is " + inQuotes(count) +
                             ", not a whole number below 2^32");
            // Assimp reads the instances of every element of a known name into the same mesh,
            // sized by the first: a second "vertex" element writes past it.
            for (const Element& earlier : header.elements)
                if (earlier.name == name)
                    return fault("a second element " + inQuotes(name) + " (an element's name is its own)");
            header.elements.push_back({std::string(name), *n, {}});
        } else if (keyword == "property") {
            if (header.elements.empty())
                return fault("a property before any element");
            if (!takesProperties)
                return fault("a property apart from its element (only comments may come between them)");
            std::string_view first, second, third;
            const bool list = words.next(first) && first == "list";
            Property property;
            if (list) {
                if (!words.next(second) || !words.next(third) || !words.next(first))
                    return fault("\"property list\" needs a count type, an item type and a name");
                property.vertexIndices = first == "vertex_indices" || first == "vertex_index";
                property.countType = typeNamed(second);
                property.type = typeNamed(third);
                if (!property.countType || !property.countType->integer)
                    return fault("a list counted by " + inQuotes(second) +
                                 ", which is not a PLY integer type");
                if (!property.type)
                    return fault("a list of " + inQuotes(third) + ", which is not a PLY type");
            } else {
                if (first.empty() || !words.next(second))
                    return fault("\"property\" needs a type and a name");
                property.type = typeNamed(first);
                if (!property.type)
                    return fault("a property of type " + inQuotes(first) + ", which is not a PLY type");
            }
            header.elements.back().properties.push_back(property);
        }
    }
    return "the PLY header has no \"end_header\" line";
}

std::string instanceOf(const Element& element, std::uint64_t i)
{
    return "instance " + std::to_string(i + 1) + " of element " + inQuotes(element.name) + " (of " +
           std::to_string(element.count) + ")";
}

// The digits a list's count starts with, as far as Assimp reads it; none for a sign or no digit.
std::optional<std::uint64_t> leadingCount(std::string_view word)
{
    if (word.starts_with('+'))
        word.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < word.size() && std::isdigit(static_cast<unsigned char>(word[digits])))
        ++digits;
    return countOf(word.substr(0, digits));
}

// Assimp reads an instance from each line: the line must hold a value for every property, and
// every value a list's count announces.
std::optional<std::string> screenAsciiBody(Lines& lines, const Header& header)
{
    for (const Element& element : header.elements) {
        for (std::uint64_t i = 0; i < element.count; ++i) {
            std::string_view line;
            if (!lines.next(line))
                return "the PLY file ends before " + instanceOf(element, i);
            Words words(line);
            auto at = [&] { return instanceOf(element, i) + ", line " + std::to_string(lines.number()); };
            if (auto end = lines.faultyEnd())
                return at() + ", " + *end;
            for (const Property& property : element.properties) {
                std::string_view value;
                if (!words.next(value))
                    return at() + ", holds fewer values than the element has properties";
                if (!property.countType)
                    continue;
                const std::optional<std::uint64_t> count = leadingCount(value);
                const std::size_t left = words.countLeft();
                if (!count || *count > left)
                    return at() + ", gives a list the length " + inQuotes(value) + ", but the line holds " +
                           std::to_string(left) + " more values";
                if (*count == 0 && element.mustListVertices(property))
                    return at() + ", lists no vertices";
                for (std::uint64_t k = 0; k < *count; ++k)
                    words.next(value);
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> screenBinaryBody(std::string_view bytes, const Header& header)
{
    std::size_t at = header.bodyOffset;
    const std::size_t end = bytes.size();
    auto readCount = [&](const PlyType& type) {
        std::uint64_t raw = 0;
        for (int b = 0; b < type.size; ++b) {
            const auto byte = static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(b)]);
            const int shift = header.format == Format::bigEndian ? 8 * (type.size - 1 - b) : 8 * b;
            raw |= std::uint64_t{byte} << shift;
        }
        const int bits = 8 * type.size;
        const bool negative = type.isSigned && (raw >> (bits - 1)) != 0;
        return negative ? -static_cast<std::int64_t>((std::uint64_t{1} << bits) - raw)
                        : static_cast<std::int64_t>(raw);
    };
    for (const Element& element : header.elements) {
        bool fixed = true;
        std::size_t row = 0;
        for (const Property& property : element.properties) {
            fixed = fixed && !property.countType;
            row += static_cast<std::size_t>(property.type->size);
        }
        if (fixed) {
            // Without lists every instance takes the same bytes (at least one: an element with
            // instances has properties).
            if (row > 0 && element.count > (end - at) / row)
                return "the PLY file ends inside element " + inQuotes(element.name) + ": its " +
                       std::to_string(element.count) + " instances of " + std::to_string(row) +
                       " bytes need more than the " + std::to_string(end - at) + " left";
            at += element.count * row;
            continue;
        }
        for (std::uint64_t i = 0; i < element.count; ++i) {
            for (const Property& property : element.properties) {
                std::uint64_t items = 1;
                if (property.countType) {
                    if (end - at < static_cast<std::size_t>(property.countType->size))
                        return "the PLY file ends inside " + instanceOf(element, i);
                    const std::int64_t count = readCount(*property.countType);
                    if (count < 0)
                        return instanceOf(element, i) + " gives a list the length " + std::to_string(count) +
                               " (at byte " + std::to_string(at) + ")";
                    if (count == 0 && element.mustListVertices(property))
                        return instanceOf(element, i) + " lists no vertices (at byte " + std::to_string(at) +
                               ")";
                    at += static_cast<std::size_t>(property.countType->size);
                    items = static_cast<std::uint64_t>(count);
                }
                const auto size = static_cast<std::uint64_t>(property.type->size);
                if (items > (end - at) / size)
                    return "the PLY file ends inside " + instanceOf(element, i);
                at += items * size;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

bool startsAsPly(std::string_view bytes)
{
    return bytes.size() >= 3 && std::tolower(static_cast<unsigned char>(bytes[0])) == 'p' &&
           std::tolower(static_cast<unsigned char>(bytes[1])) == 'l' &&
           std::tolower(static_cast<unsigned char>(bytes[2])) == 'y';
}

std::optional<std::string> screenPly(std::string_view bytes)
{
    if (!startsAsPly(bytes))
        return std::nullopt;  // Assimp refuses it for its magic
    Header header;
    Lines lines(bytes);
    if (auto reason = readHeader(lines, header))
        return reason;
    if (!header.formatKnown)
        return std::nullopt;  // Assimp refuses it for its format
    for (const Element& element : header.elements)
        if (element.count > 0 && element.properties.empty())
            return "element " + inQuotes(element.name) + " has " + std::to_string(element.count) +
                   " instances but no properties";
    return header.format == Format::ascii ? screenAsciiBody(lines, header) : screenBinaryBody(bytes, header);
}

}  // namespace standalone::import
