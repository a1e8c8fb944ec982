#pragma once
// The bytes of line element files (.vme) and lines files (.vma): little-endian 32-bit words, see
// docs/file-formats.md. An element file is the element class's two class words, a record count
// and one record block; a lines file is the effect class's two class words, a record count, an
// element count, one entry (type, name) per element and then one record block per element.
//
// A record is a 32-bit sameAsDefault flag followed by its LineSettings word(s): the flag is 1 when
// the value equalled lineDefaultSettings when the file was written. A block holds the 49 records
// of lineRecords() in order, or only the first `record count` of them in an older file.
//
// Nothing here touches elements, the effect or the file system except readLineFile.

#include "host/ParamTypes.h"
#include "line/LineSettings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vml {

inline constexpr int lineRecordCount = 49;
// A full record block: 48 one-word records and the colour, each with its flag.
inline constexpr std::size_t lineRecordBlockBytes = 400;
inline constexpr std::size_t elementFileBytes = 12 + lineRecordBlockBytes;
// Names in lines files are at most this many bytes (8-bit text; UTF-8 here).
inline constexpr std::size_t lineFileNameLimit = 255;
// No line file is larger; a bigger file is refused without being read.
inline constexpr std::size_t lineFileSizeLimit = std::size_t{64} << 20;

// One record of the block, in block order.
struct LineRecordInfo {
    const char* name;  // the parameter's script name, e.g. "lineWidth"
    int firstWord;     // its first LineSettings word
    int words;         // 1, or 3 for the colour
    bool isInt;        // 32-bit ints (bools and switches included), else 32-bit floats
    bool isSwitch;     // a detection switch (words 29-33): merged by OR, its flag ignored on load
    bool paint;        // a parameter of the element's "paint" block, else of "parameters"
    ParamID param;     // the parameter in that block
};

std::span<const LineRecordInfo> lineRecords();

// Bytes of the first `records` records of a block (records clamped to 0..49).
std::size_t lineRecordBlockSize(int records);

// What a file holds. For an element file `type` is -1 and `name` empty: neither is stored.
struct LineFileElement {
    int type = -1;
    std::string name;
    LineSettings settings;
    std::array<bool, lineRecordCount> sameAsDefault{};
};

struct LineFileContents {
    bool linesFile = false;
    // The header's record count as stored. Each block holds its first records: this count held
    // to 0..49 (a count above 49 still means 49 records, one below 1 none).
    int recordCount = 0;
    std::vector<LineFileElement> elements;  // one for an element file
    // A warning for each value held to its parameter's range, naming the element, the record and
    // the parameter (and the file, when read from one), for the loader to log.
    std::vector<std::string> heldValues;

    int recordsPerBlock() const;
};

// The settings a file's absent records stand for in LineFileContents: the defaults declared by
// the element's blocks (what a parameter reset gives), not the settings file's. Derived words 0.
const LineSettings& lineBlockDefaults();

// Parses a whole file, checking everything: class words, counts against the bytes there are,
// every type, every name (at most 255 bytes, no zero byte) and every record. Values are held to
// their parameters' ranges by the intake's rule (host/ParamIntake.h; ints and floats clamped,
// each noted in heldValues) and bools read 0 or 1; a float that is not finite refuses the file. Records
// beyond the record count keep lineBlockDefaults() with sameAsDefault false. Bytes after the last block are
// ignored, as older readers ignored them. nullopt with a one-line `reason` when the bytes are not a valid
// file.
std::optional<LineFileContents> parseLineFile(std::span<const std::uint8_t> bytes, std::string& reason);
// The same for the file at `path`, whose path begins each of heldValues; a file that cannot be
// read, or is larger than lineFileSizeLimit, gives a reason too.
std::optional<LineFileContents> readLineFile(const std::string& path, std::string& reason);

// The first `count` records of `file` laid over `base` (count clamped to 0..49). Replace takes the
// file's values. Merge keeps base's value where the file flags a record sameAsDefault, and turns a
// detection switch on when either has it on.
void overlayLineRecords(LineSettings& base, const LineFileElement& file, int count, bool merge);

// A full element file for settings `s`, each flag set where `s` equals `defaults`.
std::vector<std::uint8_t> elementFileContents(const LineSettings& s, const LineSettings& defaults);
// A full lines file, the elements' types and names in the entries (sameAsDefault is not read).
// A name longer than 255 bytes is cut at the last whole UTF-8 character that fits.
std::vector<std::uint8_t> linesFileContents(std::span<const LineFileElement> elements,
                                            const LineSettings& defaults);

// `name` cut to at most 255 bytes without splitting a UTF-8 character.
std::string lineFileName(const std::string& name);

}  // namespace vml
