#pragma once
// Changing values in a document's text without rewriting the rest: comments, key order, spacing
// and the way every other value is written stay exactly as they were. Only the changed value's
// text is replaced; a key its object lacks is added after the object's last member, in the style
// of its neighbours (a line of its own with their indentation, or on the same line).

#include "standalone/document/JsonLocation.h"

#include <string>
#include <string_view>

namespace standalone::document {

class JsonTextPatch {
public:
    // Fails with a SceneError (naming file) when text is not a document parseJsonText accepts.
    JsonTextPatch(std::string text, std::string file);

    // Sets the value at pointer (a JSON pointer; "" is the whole document) to v. Fails with a
    // SceneError naming the place when the pointer's parent is not an object or array of the
    // document, or names an array entry that is not there.
    void set(std::string_view pointer, const Json& v);
    // The text of the value at pointer; empty when there is none.
    std::string_view valueText(std::string_view pointer) const;

    const std::string& text() const { return text_; }

private:
    std::string text_;
    std::string file_;
};

// v on one line, as documents are written by hand: ", " between items, ": " after keys.
std::string inlineJson(const Json& v);

}  // namespace standalone::document
