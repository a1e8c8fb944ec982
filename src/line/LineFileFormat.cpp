#include "line/LineFileFormat.h"

#include "host/ParamBlockDesc2.h"
#include "host/ParamIntake.h"
#include "line/LineElementType.h"
#include "line/LineFxElement.h"
#include "line/LineFxManager.h"
#include "line/LineFxParamBlocks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace vml {

namespace {

namespace lp = lineParam;
namespace pp = linePaintParam;

constexpr LineRecordInfo i(const char* name, int word, ParamID p, bool sw = false)
{
    return {name, word, 1, true, sw, false, p};
}
constexpr LineRecordInfo f(const char* name, int word, ParamID p)
{
    return {name, word, 1, false, false, false, p};
}
constexpr LineRecordInfo pi(const char* name, int word, ParamID p)
{
    return {name, word, 1, true, false, true, p};
}
constexpr LineRecordInfo pf(const char* name, int word, ParamID p)
{
    return {name, word, 1, false, false, true, p};
}

// Block order: the "parameters" half (words 0-33 with 18 and 19 moved last), then the paint half.
constexpr std::array<LineRecordInfo, lineRecordCount> records{{
    i("lineOn", 0, lp::lineOn),
    i("lineMatID", 1, lp::lineMatID),
    i("lineBlend", 2, lp::lineBlend),
    f("lineAlpha", 3, lp::lineAlpha),
    {"lineColor", 4, 3, false, false, false, lp::lineColor},
    f("lineMapOpacity", 7, lp::lineMapOpacity),
    i("lineMapEnable", 8, lp::lineMapEnable),
    f("lineWidth", 9, lp::lineWidth),
    f("lineDeform", 10, lp::lineDeform),
    f("lineStretch", 11, lp::lineStretch),
    f("lineAngle", 12, lp::lineAngle),
    f("lineZMin", 13, lp::lineZMin),
    f("lineZMax", 14, lp::lineZMax),
    i("lineZScaleEnable", 15, lp::lineZScaleEnable),
    f("lineZAlphaMin", 16, lp::lineZAlphaMin),
    f("lineZAlphaMax", 17, lp::lineZAlphaMax),
    i("lineZAlphaEnable", 20, lp::lineZAlphaEnable),
    f("lineBlur", 21, lp::lineBlur),
    f("lineBlurOffset", 22, lp::lineBlurOffset),
    f("outlineObjectThreshold", 23, lp::outlineObjectThreshold),
    f("outlineMaterialThreshold", 24, lp::outlineMaterialThreshold),
    f("edgeDepthThreshold", 25, lp::edgeDepthThreshold),
    f("normalMin", 26, lp::normalMin),
    f("normalMax", 27, lp::normalMax),
    f("normalDepth", 28, lp::normalDepth),
    i("outlineObject", 29, lp::outlineObject, true),
    i("outlineMaterial", 30, lp::outlineMaterial, true),
    i("edgeMaterial", 31, lp::edgeMaterial, true),
    i("edgeDepth", 32, lp::edgeDepth, true),
    i("normal", 33, lp::normal, true),
    f("lineZAlphaMinValue", 18, lp::lineZAlphaMinValue),
    f("lineZAlphaMaxValue", 19, lp::lineZAlphaMaxValue),
    pi("paintColorType", 48, pp::paintColorType),
    pf("paintColorR", 49, pp::paintColorR),
    pf("paintColorG", 50, pp::paintColorG),
    pf("paintColorB", 51, pp::paintColorB),
    pf("paintBlur", 52, pp::paintBlur),
    pf("paintBlurRnd", 53, pp::paintBlurRnd),
    pf("paintBlurBound", 54, pp::paintBlurBound),
    pf("paintBlurBoundRnd", 55, pp::paintBlurBoundRnd),
    pf("paintMix", 56, pp::paintMix),
    pf("paintMixRnd", 57, pp::paintMixRnd),
    pf("paintWind", 58, pp::paintWind),
    pf("paintWindRnd", 59, pp::paintWindRnd),
    pf("paintWindAngle", 60, pp::paintWindAngle),
    pi("paintRndSizeEnable", 61, pp::paintRndSizeEnable),
    pf("paintRndSize", 62, pp::paintRndSize),
    pf("paintDry", 63, pp::paintDry),
    pf("paintDryRnd", 64, pp::paintDryRnd),
}};

constexpr std::size_t recordBytes(const LineRecordInfo& r)
{
    return 4 + 4 * static_cast<std::size_t>(r.words);
}

constexpr std::size_t blockBytes(int n)
{
    std::size_t bytes = 0;
    for (int r = 0; r < n; ++r)
        bytes += recordBytes(records[static_cast<std::size_t>(r)]);
    return bytes;
}
static_assert(blockBytes(lineRecordCount) == lineRecordBlockBytes);
static_assert(blockBytes(10) == 12 * 4 + 10 * 4);  // words 0-11, the colour one record

std::uint32_t wordOf(const LineSettings& s, int w)
{
    std::uint32_t v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&s) + 4 * w, 4);
    return v;
}

void setWord(LineSettings& s, int w, std::uint32_t v)
{
    std::memcpy(reinterpret_cast<unsigned char*>(&s) + 4 * w, &v, 4);
}

float floatOf(const LineSettings& s, int w)
{
    const std::uint32_t bits = wordOf(s, w);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void setFloat(LineSettings& s, int w, float v)
{
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    setWord(s, w, bits);
}

const ParamDef* paramOf(const LineRecordInfo& r)
{
    return (r.paint ? lineFxElementPaintBlock() : lineFxElementParamsBlock()).GetParamDef(r.param);
}

// Floats compare as numbers (0 and -0 alike), ints as ints; the colour only as a whole.
bool sameValue(const LineRecordInfo& r, const LineSettings& a, const LineSettings& b)
{
    for (int k = 0; k < r.words; ++k) {
        const int w = r.firstWord + k;
        if (r.isInt ? wordOf(a, w) != wordOf(b, w) : floatOf(a, w) != floatOf(b, w))
            return false;
    }
    return true;
}

// Holds record r of s to its parameter's range through `intake`, which words a warning for each
// value held; a bool reads 0 or 1, as its block reads it. False for a float that is not finite:
// such a file is refused whole rather than loaded in part.
bool holdToRange(const LineRecordInfo& r, LineSettings& s, ParamIntake& intake)
{
    ParamNumber n{};
    for (int k = 0; k < r.words; ++k) {
        const int w = r.firstWord + k;
        const double v = r.isInt ? double(static_cast<std::int32_t>(wordOf(s, w))) : double(floatOf(s, w));
        if (!std::isfinite(v))
            return false;
        n[static_cast<std::size_t>(k)] = v;
    }
    const ParamDef* def = paramOf(r);
    if (!def)
        return true;
    intake.take(*def, n, n);
    for (int k = 0; k < r.words; ++k) {
        const int w = r.firstWord + k;
        const double v = n[static_cast<std::size_t>(k)];
        if (!r.isInt)
            setFloat(s, w, static_cast<float>(v));
        else if (baseType(def->type) == TYPE_BOOL)
            setWord(s, w, v != 0.0 ? 1u : 0u);
        else
            setWord(s, w, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
    }
    return true;
}

void putWord(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int b = 0; b < 4; ++b)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
}

void putBlock(std::vector<std::uint8_t>& out, const LineSettings& s, const LineSettings& defaults)
{
    for (const LineRecordInfo& r : records) {
        putWord(out, sameValue(r, s, defaults) ? 1 : 0);
        for (int k = 0; k < r.words; ++k)
            putWord(out, wordOf(s, r.firstWord + k));
    }
}

void putHeader(std::vector<std::uint8_t>& out, const Class_ID& id)
{
    putWord(out, static_cast<std::uint32_t>(id.PartA()));
    putWord(out, static_cast<std::uint32_t>(id.PartB()));
    putWord(out, lineRecordCount);
}

std::string hex(std::uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", v);
    return text;
}

// Reads words and bytes off the file, never past its end.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t offset() const { return at_; }
    std::size_t remaining() const { return bytes_.size() - at_; }
    std::size_t size() const { return bytes_.size(); }

    bool word(std::uint32_t& v)
    {
        if (remaining() < 4)
            return false;
        v = 0;
        for (int b = 0; b < 4; ++b)
            v |= std::uint32_t{bytes_[at_ + static_cast<std::size_t>(b)]} << (8 * b);
        at_ += 4;
        return true;
    }
    bool text(std::size_t n, std::string& out)
    {
        if (remaining() < n)
            return false;
        out.assign(reinterpret_cast<const char*>(bytes_.data() + at_), n);
        at_ += n;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

std::string truncatedAt(const ByteReader& in, const std::string& what)
{
    return "truncated at byte " + std::to_string(in.size()) + " (" + what + ")";
}

std::string elementLabel(bool linesFile, std::size_t e)
{
    return linesFile ? "element " + std::to_string(e) + ", " : std::string();
}

// The first `count` records of one block into `e`; the rest keep what `e` holds.
bool readBlock(ByteReader& in, int count, bool linesFile, std::size_t index, LineFileElement& e,
               std::vector<std::string>& held, std::string& reason)
{
    for (int n = 0; n < count; ++n) {
        const LineRecordInfo& r = records[static_cast<std::size_t>(n)];
        const std::string where = elementLabel(linesFile, index) + "record " + r.name;
        std::uint32_t flag = 0;
        if (!in.word(flag)) {
            reason = truncatedAt(in, where);
            return false;
        }
        for (int k = 0; k < r.words; ++k) {
            std::uint32_t v = 0;
            if (!in.word(v)) {
                reason = truncatedAt(in, where);
                return false;
            }
            setWord(e.settings, r.firstWord + k, v);
        }
        ParamIntake intake(where, [&held](const std::string& text) { held.push_back(text); });
        if (!holdToRange(r, e.settings, intake)) {
            reason = where + ": not a finite number";
            return false;
        }
        e.sameAsDefault[static_cast<std::size_t>(n)] = flag != 0;
    }
    return true;
}

// One entry of a lines file: its type and name.
bool readEntry(ByteReader& in, std::size_t index, LineFileElement& e, std::string& reason)
{
    const std::string where = "element " + std::to_string(index);
    std::uint32_t type = 0, length = 0;
    if (!in.word(type) || !in.word(length)) {
        reason = truncatedAt(in, where + " entry");
        return false;
    }
    e.type = static_cast<std::int32_t>(type);
    if (!isLineElementType(e.type)) {
        reason = where + ": unknown type " + std::to_string(e.type);
        return false;
    }
    // A length below 1 stands for an empty name.
    const auto signedLength = static_cast<std::int32_t>(length);
    if (signedLength < 1)
        return true;
    const auto n = static_cast<std::size_t>(signedLength);
    if (n > lineFileNameLimit) {
        reason = where + ": name of " + std::to_string(n) + " bytes (at most 255)";
        return false;
    }
    if (!in.text(n, e.name)) {
        reason = truncatedAt(in, where + " name");
        return false;
    }
    if (e.name.find('\0') != std::string::npos) {
        reason = where + ": name holds a zero byte";
        return false;
    }
    return true;
}

}  // namespace

std::span<const LineRecordInfo> lineRecords() { return records; }

std::size_t lineRecordBlockSize(int n) { return blockBytes(std::clamp(n, 0, lineRecordCount)); }

int LineFileContents::recordsPerBlock() const { return std::clamp(recordCount, 0, lineRecordCount); }

const LineSettings& lineBlockDefaults()
{
    static const LineSettings defaults = [] {
        LineSettings s;
        for (const LineRecordInfo& r : records) {
            const ParamDef* def = paramOf(r);
            if (!def)
                continue;
            for (int k = 0; k < r.words; ++k) {
                const double v = def->defNumber[static_cast<std::size_t>(k)];
                if (r.isInt)
                    setWord(s, r.firstWord + k, static_cast<std::uint32_t>(static_cast<std::int32_t>(v)));
                else
                    setFloat(s, r.firstWord + k, static_cast<float>(v));
            }
        }
        return s;
    }();
    return defaults;
}

std::optional<LineFileContents> parseLineFile(std::span<const std::uint8_t> bytes, std::string& reason)
{
    ByteReader in(bytes);
    std::uint32_t a = 0, b = 0, count = 0;
    if (!in.word(a) || !in.word(b)) {
        reason = truncatedAt(in, "the class words need 8 bytes");
        return std::nullopt;
    }
    LineFileContents out;
    if (a == lineFxElementClassId.PartA() && b == lineFxElementClassId.PartB())
        out.linesFile = false;
    else if (a == lineFxManagerClassId.PartA() && b == lineFxManagerClassId.PartB())
        out.linesFile = true;
    else {
        reason = "not a line element or lines file: class words " + hex(a) + " " + hex(b);
        return std::nullopt;
    }
    if (!in.word(count)) {
        reason = truncatedAt(in, "record count");
        return std::nullopt;
    }
    out.recordCount = static_cast<std::int32_t>(count);
    const int perBlock = out.recordsPerBlock();
    const std::size_t block = lineRecordBlockSize(perBlock);

    std::size_t elements = 1;
    if (out.linesFile) {
        std::uint32_t n = 0;
        if (!in.word(n)) {
            reason = truncatedAt(in, "element count");
            return std::nullopt;
        }
        const auto signedCount = static_cast<std::int32_t>(n);
        // Every element takes at least its entry's two words and its block.
        if (signedCount < 0 || std::uint64_t(signedCount) * (8 + block) > in.remaining()) {
            reason = "element count " + std::to_string(signedCount) + " cannot fit in the " +
                     std::to_string(in.remaining()) + " bytes after the header";
            return std::nullopt;
        }
        // With no records per block an element takes 8 bytes, so a large file could otherwise ask
        // for millions of elements; none may hold more than a saved scene's effect.
        if (signedCount > LineFxManager::maxLoadedElements) {
            reason = "element count " + std::to_string(signedCount) +
                     " is more than a lines file holds (at most " +
                     std::to_string(LineFxManager::maxLoadedElements) + ")";
            return std::nullopt;
        }
        elements = static_cast<std::size_t>(signedCount);
    }
    out.elements.resize(elements);
    for (LineFileElement& e : out.elements)
        e.settings = lineBlockDefaults();
    if (out.linesFile) {
        for (std::size_t k = 0; k < elements; ++k)
            if (!readEntry(in, k, out.elements[k], reason))
                return std::nullopt;
    }
    for (std::size_t k = 0; k < elements; ++k)
        if (!readBlock(in, perBlock, out.linesFile, k, out.elements[k], out.heldValues, reason))
            return std::nullopt;
    return out;
}

std::optional<LineFileContents> readLineFile(const std::string& path, std::string& reason)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found || ec || !fs::is_regular_file(status)) {
        reason = status.type() == fs::file_type::not_found ? "no such file"
                 : ec                                      ? "cannot be opened: " + ec.message()
                                                           : "not a regular file";
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        reason = "cannot be opened for reading";
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char chunk[16384];
    while (file) {
        file.read(chunk, sizeof chunk);
        const auto got = static_cast<std::size_t>(file.gcount());
        if (bytes.size() + got > lineFileSizeLimit) {
            reason = "larger than any line file (more than " + std::to_string(lineFileSizeLimit) + " bytes)";
            return std::nullopt;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (file.bad() || !file.eof()) {
        reason = "cannot be read";
        return std::nullopt;
    }
    std::optional<LineFileContents> contents = parseLineFile(bytes, reason);
    if (contents)
        for (std::string& text : contents->heldValues)
            text = path + ": " + text;
    return contents;
}

void overlayLineRecords(LineSettings& base, const LineFileElement& file, int count, bool merge)
{
    count = std::clamp(count, 0, lineRecordCount);
    for (int n = 0; n < count; ++n) {
        const LineRecordInfo& r = records[static_cast<std::size_t>(n)];
        if (r.isSwitch) {
            const bool on =
                wordOf(file.settings, r.firstWord) != 0 || (merge && wordOf(base, r.firstWord) != 0);
            setWord(base, r.firstWord, on ? 1 : 0);
            continue;
        }
        if (merge && file.sameAsDefault[static_cast<std::size_t>(n)])
            continue;
        for (int k = 0; k < r.words; ++k)
            setWord(base, r.firstWord + k, wordOf(file.settings, r.firstWord + k));
    }
}

std::vector<std::uint8_t> elementFileContents(const LineSettings& s, const LineSettings& defaults)
{
    std::vector<std::uint8_t> out;
    out.reserve(elementFileBytes);
    putHeader(out, lineFxElementClassId);
    putBlock(out, s, defaults);
    return out;
}

std::string lineFileName(const std::string& name)
{
    if (name.size() <= lineFileNameLimit)
        return name;
    std::size_t end = lineFileNameLimit;
    // Back off continuation bytes (10xxxxxx) so the cut falls before a character's first byte.
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.substr(0, end);
}

std::vector<std::uint8_t> linesFileContents(std::span<const LineFileElement> elements,
                                            const LineSettings& defaults)
{
    std::vector<std::uint8_t> out;
    putHeader(out, lineFxManagerClassId);
    putWord(out, static_cast<std::uint32_t>(elements.size()));
    for (const LineFileElement& e : elements) {
        const std::string name = lineFileName(e.name);
        putWord(out, static_cast<std::uint32_t>(e.type));
        putWord(out, static_cast<std::uint32_t>(name.size()));
        out.insert(out.end(), name.begin(), name.end());
    }
    for (const LineFileElement& e : elements)
        putBlock(out, e.settings, defaults);
    return out;
}

}  // namespace vml
