#include "standalone/document/JsonTextPatch.h"

#include "standalone/SceneDocument.h"
#include "standalone/document/JsonText.h"

#include <fmt/format.h>

#include <charconv>
#include <vector>

namespace standalone::document {

namespace {

constexpr std::size_t npos = std::string::npos;

// The tokens of a JSON pointer, ~1 and ~0 undone.
std::vector<std::string> tokensOf(std::string_view pointer)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < pointer.size() && pointer[i] == '/') {
        std::string token;
        for (++i; i < pointer.size() && pointer[i] != '/'; ++i) {
            if (pointer[i] == '~' && i + 1 < pointer.size() &&
                (pointer[i + 1] == '0' || pointer[i + 1] == '1'))
                token += pointer[++i] == '0' ? '~' : '/';
            else
                token += pointer[i];
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

// Walks a text the parser has accepted, so it may assume it is well formed.
class Scanner {
public:
    explicit Scanner(std::string_view text) : t_(text) {}

    // Past white space and comments.
    std::size_t skip(std::size_t i) const
    {
        while (i < t_.size()) {
            const char c = t_[i];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++i;
            } else if (c == '/' && i + 1 < t_.size() && t_[i + 1] == '/') {
                i = t_.find('\n', i);
                if (i == npos)
                    return t_.size();
            } else if (c == '/' && i + 1 < t_.size() && t_[i + 1] == '*') {
                const std::size_t end = t_.find("*/", i + 2);
                i = end == npos ? t_.size() : end + 2;
            } else {
                break;
            }
        }
        return i;
    }

    // End of the string starting at i (just past its closing quote).
    std::size_t stringEnd(std::size_t i) const
    {
        for (++i; i < t_.size(); ++i) {
            if (t_[i] == '\\')
                ++i;
            else if (t_[i] == '"')
                return i + 1;
        }
        return t_.size();
    }

    // End of the value starting at i.
    std::size_t valueEnd(std::size_t i) const
    {
        const char c = t_[i];
        if (c == '"')
            return stringEnd(i);
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            std::size_t p = skip(i + 1);
            while (p < t_.size() && t_[p] != close) {
                if (c == '{') {
                    p = skip(stringEnd(p));  // the key, then ':'
                    p = skip(p + 1);
                }
                p = skip(valueEnd(p));
                if (p < t_.size() && t_[p] == ',')
                    p = skip(p + 1);
            }
            return p + 1;
        }
        while (i < t_.size() && std::string_view(" \t\r\n,]}/").find(t_[i]) == npos)
            ++i;
        return i;
    }

    std::string key(std::size_t begin, std::size_t end) const
    {
        return Json::parse(t_.substr(begin, end - begin)).get<std::string>();
    }

private:
    std::string_view t_;
};

// Where a pointer leads in the text: the value's span, or, when only its last key is missing,
// the object that lacks it.
struct Found {
    std::size_t begin = npos, end = npos;  // the value
    // The object lacking the last key: its braces, and its last member's key and value end.
    std::size_t object = npos, close = npos, lastKey = npos, lastEnd = npos;
    std::string missingKey;
};

Found locate(std::string_view text, const std::vector<std::string>& tokens, const JsonLocation& at)
{
    const Scanner s(text);
    std::size_t v = s.skip(0);
    JsonLocation here = at;
    for (std::size_t k = 0; k < tokens.size(); ++k) {
        const std::string& token = tokens[k];
        const bool last = k + 1 == tokens.size();
        if (text[v] == '{') {
            std::size_t p = s.skip(v + 1), lastKey = npos, lastEnd = npos, found = npos;
            while (text[p] != '}') {
                const std::size_t keyEnd = s.stringEnd(p);
                const bool match = s.key(p, keyEnd) == token;
                lastKey = p;
                p = s.skip(s.skip(keyEnd) + 1);
                if (match)
                    found = p;
                lastEnd = s.valueEnd(p);
                p = s.skip(lastEnd);
                if (text[p] == ',')
                    p = s.skip(p + 1);
            }
            if (found == npos) {
                if (!last)
                    (here / token).fail("is not in the document, so nothing inside it can be set");
                Found f;
                f.object = v, f.close = p, f.lastKey = lastKey, f.lastEnd = lastEnd, f.missingKey = token;
                return f;
            }
            v = found;
        } else if (text[v] == '[') {
            std::size_t index = 0;
            const auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), index);
            if (ec != std::errc() || ptr != token.data() + token.size())
                here.fail(fmt::format("is an array, which has no entry \"{}\"", token));
            std::size_t p = s.skip(v + 1), i = 0;
            while (text[p] != ']' && i < index) {
                p = s.skip(s.valueEnd(p));
                if (text[p] == ',')
                    p = s.skip(p + 1);
                ++i;
            }
            if (text[p] == ']')
                here.fail(fmt::format("has no entry {}", index));
            v = p;
        } else {
            here.fail(fmt::format("is {}, not an object or array that could hold \"{}\"",
                                  text[v] == '"' ? "a string" : "a plain value", token));
        }
        here = here / token;
    }
    Found f;
    f.begin = v;
    f.end = s.valueEnd(v);
    return f;
}

std::size_t lineStart(std::string_view text, std::size_t i)
{
    const std::size_t nl = text.rfind('\n', i == 0 ? 0 : i - 1);
    return nl == npos || i == 0 ? 0 : nl + 1;
}

bool blank(std::string_view s) { return s.find_first_not_of(" \t\r") == npos; }

}  // namespace

JsonTextPatch::JsonTextPatch(std::string text, std::string file)
    : text_(std::move(text)), file_(std::move(file))
{
    parseJsonText(text_, file_);
}

std::string_view JsonTextPatch::valueText(std::string_view pointer) const
{
    try {
        const Found f = locate(text_, tokensOf(pointer), JsonLocation(file_));
        if (f.begin != npos)
            return std::string_view(text_).substr(f.begin, f.end - f.begin);
    } catch (const SceneError&) {
    }
    return {};
}

void JsonTextPatch::set(std::string_view pointer, const Json& v)
{
    const std::string value = inlineJson(v);
    const Found f = locate(text_, tokensOf(pointer), JsonLocation(file_));
    if (f.begin != npos) {
        text_.replace(f.begin, f.end - f.begin, value);
        return;
    }
    const std::string member = Json(f.missingKey).dump() + ": " + value;
    if (f.lastKey == npos) {  // an empty object
        text_.replace(f.object + 1, f.close - f.object - 1, member);
        return;
    }
    const std::size_t keyLine = lineStart(text_, f.lastKey);
    const std::string_view indent = std::string_view(text_).substr(keyLine, f.lastKey - keyLine);
    if (!blank(indent)) {  // members side by side on one line
        text_.insert(f.lastEnd, ", " + member);
        return;
    }
    // A line of its own after the last member's; a // comment ending that line stays on it.
    std::size_t lineEnd = text_.find('\n', f.lastEnd);
    if (lineEnd != npos && lineEnd > f.lastEnd && text_[lineEnd - 1] == '\r')
        --lineEnd;
    const std::string_view rest =
        std::string_view(text_).substr(f.lastEnd, (lineEnd == npos ? text_.size() : lineEnd) - f.lastEnd);
    const std::size_t comment = rest.find("//");
    const std::string line = (text_.find("\r\n") != npos ? "\r\n" : "\n") + std::string(indent) + member;
    if (lineEnd != npos && comment != npos && blank(rest.substr(0, comment))) {
        text_.insert(lineEnd, line);
        text_.insert(f.lastEnd, ",");
    } else {
        text_.insert(f.lastEnd, "," + line);
    }
}

std::string inlineJson(const Json& v)
{
    if (v.is_array()) {
        std::string s = "[";
        for (std::size_t i = 0; i < v.size(); ++i)
            s += (i ? ", " : "") + inlineJson(v[i]);
        return s + "]";
    }
    if (v.is_object()) {
        std::string s = "{";
        bool first = true;
        for (auto it = v.begin(); it != v.end(); ++it, first = false)
            s += (first ? "" : ", ") + Json(it.key()).dump() + ": " + inlineJson(it.value());
        return s + "}";
    }
    return v.dump();
}

}  // namespace standalone::document
