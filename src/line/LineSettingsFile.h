#pragma once
// The line settings file: the values new line elements start from, one "key=value" line per
// setting in section "Vermil+ Line" of the plug-in configuration directory's "vermil+_line.ini"
// (or its user copy, see IniHandler). Floats are written "%f"-style (six decimals), ints "%d"-style,
// the colour as three floats separated by spaces. lineOn and the five detection switches have no
// key: a new element takes them from its type.

#include "host/ParamDef.h"
#include "line/LineSettings.h"

#include <cstdint>
#include <span>
#include <string>

namespace vml {

class LineFxElement;

inline constexpr char lineSettingsSection[] = "Vermil+ Line";

// One key, the LineSettings word(s) it holds and the parameter it fills: exactly one of the two
// word pointers is set, except for the colour key, which has neither and holds words 4-6.
struct LineSettingsKey {
    const char* key;
    float LineSettings::*floatWord;
    std::int32_t LineSettings::*intWord;
    bool paint;     // a parameter of the element's "paint" block, else of "parameters"
    ParamID param;  // the parameter in that block
};

// The keys of words 1-28 and of words 48-64, each in file order.
std::span<const LineSettingsKey> lineSettingsKeys();
std::span<const LineSettingsKey> linePaintSettingsKeys();

// The value text of one key.
std::string formatLineSettingsValue(const LineSettingsKey& key, const LineSettings& s);
// The parameter a key fills, whose range its values are held to.
const ParamDef& lineSettingsParam(const LineSettingsKey& key);
// The key's word(s) in s as the numbers of its parameter's value, and back.
ParamNumber lineSettingsNumbers(const LineSettingsKey& key, const LineSettings& s);
void setLineSettingsNumbers(const LineSettingsKey& key, const ParamNumber& n, LineSettings& s);

// Every key of both sets from the file at `path` (shell/SettingsValues.h: readSettingsValue):
// missing, empty or unreadable values keep their words, and the values read pass the intake —
// held to their parameters' ranges, refused when not finite (the word kept), with a warning
// naming the file, the key and the parameter. Nothing for an empty path.
void readLineSettingsKeys(const char* path, LineSettings& s);
// Every key of one set, in file order. Write failures are ignored. Nothing for an empty path.
void writeLineSettingsKeys(const char* path, std::span<const LineSettingsKey> keys, const LineSettings& s);

// Fills lineDefaultSettings: the element's block values at time 0, then every key found in the
// settings file, then the file is rewritten with every key so that a user finds a complete file
// to edit. Marks the defaults filled. Run once per process, by the first element made.
void readLineSettingsFile(LineFxElement& element);
// Writes the keys of words 1-28 from lineDefaultSettings. With fromElement, words 0-33 of the
// defaults are first taken from the element's "parameters" block at the host's current time.
void writeLineSettingsFile(LineFxElement& element, bool fromElement);
// The same for the paint keys, words 48-64, and the element's "paint" block.
void writeLinePaintSettingsFile(LineFxElement& element, bool fromElement);

}  // namespace vml
