#include "standalone/document/JsonLocation.h"

#include "standalone/SceneDocument.h"

namespace standalone::document {

JsonLocation JsonLocation::operator/(std::string_view key) const
{
    JsonLocation child = *this;
    child.pointer_ += '/';
    for (char c : key) {
        if (c == '~')
            child.pointer_ += "~0";
        else if (c == '/')
            child.pointer_ += "~1";
        else
            child.pointer_ += c;
    }
    return child;
}

JsonLocation JsonLocation::operator/(std::size_t index) const
{
    JsonLocation child = *this;
    child.pointer_ += '/' + std::to_string(index);
    return child;
}

void JsonLocation::fail(const std::string& what) const { throw SceneError(*file_, pointer_, what); }

}  // namespace standalone::document
