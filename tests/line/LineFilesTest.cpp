// Line element files and lines files: their bytes (the record table, headers and entries, and
// what reading makes of short, out-of-range and malformed files), and loading and saving them (what
// a load takes, what a failed load or save leaves, and the question and paths around them).

#include "support/LineFileTestSupport.h"

#include "line/LineElementType.h"
#include "line/LineFileFormat.h"
#include "line/LineFxParamBlocks.h"

#include <bit>
#include <csignal>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <sys/resource.h>

using namespace vml;
using namespace test_support;

namespace {

std::uint32_t bitsOf(float v) { return std::bit_cast<std::uint32_t>(v); }
std::uint32_t wordAt(const Bytes& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t{b[at + 3]} << 24;
}

class LineFileFormat : public LineFileFixture {};

TEST_F(LineFileFormat, RecordsFollowTheWordOrderAndFilesTheirHeaders)
{
    std::istringstream order(
        "lineOn lineMatID lineBlend lineAlpha lineColor lineMapOpacity lineMapEnable "
        "lineWidth lineDeform lineStretch lineAngle lineZMin lineZMax lineZScaleEnable "
        "lineZAlphaMin lineZAlphaMax lineZAlphaEnable lineBlur lineBlurOffset "
        "outlineObjectThreshold outlineMaterialThreshold edgeDepthThreshold normalMin "
        "normalMax normalDepth outlineObject outlineMaterial edgeMaterial edgeDepth normal "
        "lineZAlphaMinValue lineZAlphaMaxValue paintColorType paintColorR paintColorG "
        "paintColorB paintBlur paintBlurRnd paintBlurBound paintBlurBoundRnd paintMix "
        "paintMixRnd paintWind paintWindRnd paintWindAngle paintRndSizeEnable "
        "paintRndSize paintDry paintDryRnd");
    std::vector<std::string> names;
    for (const LineRecordInfo& r : lineRecords())
        names.emplace_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>(std::istream_iterator<std::string>(order), {})));
    EXPECT_EQ(lineRecordBlockSize(10), 88u);  // words 0-11 and ten flags: the colour is one record
    LineSettings defaults = distinctSettings(), s = defaults;
    s.lineWidth = 4.5f;
    s.lineColor[2] = 0.125f;       // one component off: the whole colour differs
    s.lineZAlphaMinValue = -0.0f;  // equal to 0 as a number
    defaults.lineZAlphaMinValue = 0.0f;
    const Bytes b = elementFileContents(s, defaults);
    ASSERT_EQ(b.size(), 412u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 12), (Bytes{0x54, 0x22, 0x02, 0x54, 7, 2, 0x20, 3, 49, 0, 0, 0}));
    // lineWidth follows four one-word records and the colour: 12 + 4 * 8 + 16 + 2 * 8.
    EXPECT_EQ(std::vector<std::uint32_t>({wordAt(b, 76), wordAt(b, 80), wordAt(b, 44), wordAt(b, 56)}),
              std::vector<std::uint32_t>({0, bitsOf(4.5f), 0, bitsOf(0.125f)}));
    EXPECT_EQ(wordAt(b, 12 + 29 * 8 + 16), 1u);  // lineZAlphaMinValue's flag
    EXPECT_EQ(wordAt(b, 408), bitsOf(s.paintDryRnd));
    std::vector<LineFileElement> two(2);
    two[0] = {EdgeBoundary, "ab", distinctSettings(), {}};
    for (int k = 0; k < 150; ++k)
        two[1].name += "é";  // 300 bytes: cut to 254, not inside a character
    two[1].type = NormalAngle;
    const Bytes lines = linesFileContents(two, lineBlockDefaults());
    ASSERT_EQ(lines.size(), 34u + 254 + 800);
    EXPECT_EQ(Bytes(lines.begin() + 4, lines.begin() + 26),
              (Bytes{6, 2, 0x20, 3, 49, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 'a', 'b'}));
    EXPECT_EQ(wordAt(lines, 26), 3u);
    EXPECT_EQ(wordAt(lines, 30), 254u);
    EXPECT_EQ(wordAt(lines, 288 + 68), bitsOf(distinctSettings().lineWidth));  // blocks are unaligned
    std::string reason;
    const auto read = parseLineFile(lines, reason);
    ASSERT_TRUE(read) << reason;
    EXPECT_TRUE(read->linesFile);
    EXPECT_EQ(read->elements[1].name, two[1].name.substr(0, 254));
    const auto element = parseLineFile(b, reason);
    ASSERT_TRUE(element) << reason;
    std::set<std::string> notDefault;
    for (std::size_t r = 0; r < 49; ++r)
        if (!element->elements[0].sameAsDefault[r])
            notDefault.insert(lineRecords()[r].name);
    EXPECT_EQ(notDefault, (std::set<std::string>{"lineWidth", "lineColor"}));
}

TEST_F(LineFileFormat, ReadingHoldsValuesToRangesAndRefusesMalformedFilesWithTheReason)
{
    Bytes b = elementFileContents(distinctSettings(), distinctSettings());
    putWordAt(b, 8, 10);
    b.resize(12 + 88);
    std::string reason;
    auto read = parseLineFile(b, reason);
    ASSERT_TRUE(read) << reason;
    // Records past the count hold the block defaults, not flagged.
    EXPECT_EQ(read->elements[0].settings.lineStretch, distinctSettings().lineStretch);  // record 9
    EXPECT_EQ(read->elements[0].settings.lineZMin, 100.0f);
    EXPECT_TRUE(read->elements[0].sameAsDefault[9] && !read->elements[0].sameAsDefault[10]);
    b = elementFileContents(distinctSettings(), distinctSettings());
    putWordAt(b, 8, 1000);             // more than 49 records still reads 49
    putWordAt(b, 80, bitsOf(1.0e6f));  // lineWidth, 0-100
    putWordAt(b, 112, bitsOf(0.0f));   // lineZMin, 1-1000000
    putWordAt(b, 24, 99);              // lineMatID, 0-15
    putWordAt(b, 72, 7);               // lineMapEnable, a bool
    putWordAt(b, 52, bitsOf(-3.0f));   // colours have no range
    read = parseLineFile(b, reason);
    ASSERT_TRUE(read) << reason;
    const LineSettings& s = read->elements[0].settings;
    EXPECT_EQ(std::vector<float>({s.lineWidth, s.lineZMin, s.lineColor[1]}),
              std::vector<float>({100, 1, -3}));
    EXPECT_EQ(std::vector<int>({s.lineMatID, s.lineMapEnable}), std::vector<int>({15, 1}));
    // Each value held is noted, for the loader to warn of, by the intake's words.
    EXPECT_EQ(read->heldValues,
              (std::vector<std::string>{
                  "record lineMatID: parameter lineMatID: 99 is outside its range 0 to 15; held to 15",
                  "record lineWidth: parameter lineWidth: 1000000 is outside its range 0 to 100; held to 100",
                  "record lineZMin: parameter lineZMin: 0 is outside its range 1 to 1000000; held to 1"}));
    writeBytes(dir.path() / "held.vme", b);
    read = readLineFile((dir.path() / "held.vme").string(), reason);
    ASSERT_TRUE(read) << reason;
    ASSERT_EQ(read->heldValues.size(), 3u);
    EXPECT_EQ(read->heldValues[0],
              (dir.path() / "held.vme").string() +
                  ": record lineMatID: parameter lineMatID: 99 is outside its range 0 to 15; held to 15");
    putWordAt(b, 408, bitsOf(std::numeric_limits<float>::infinity()));
    EXPECT_FALSE(parseLineFile(b, reason));
    EXPECT_EQ(reason, "record paintDryRnd: not a finite number");
    std::vector<LineFileElement> one(1);
    one[0] = {Outline, "x", lineBlockDefaults(), {}};  // its first flag byte is 1
    const Bytes lines = linesFileContents(one, lineBlockDefaults());
    const std::pair<std::size_t, std::uint32_t> edits[] = {
        {4, 0x03200205}, {16, 4}, {12, 0xFFFFFFFF}, {12, 2}, {12, 0x7FFFFFFF}, {20, 256}, {20, 2}, {21, 0}};
    const char* reasons[] = {"not a line element or lines file: class words 0x54022254 0x03200205",
                             "element 0: unknown type 4",
                             "element count -1 cannot fit in the 409 bytes after the header",
                             "element count 2 cannot fit in the 409 bytes after the header",
                             "element count 2147483647 cannot fit in the 409 bytes after the header",
                             "element 0: name of 256 bytes (at most 255)",
                             "truncated at byte 425 (element 0, record paintDryRnd)",
                             "element 0: name holds a zero byte"};
    for (std::size_t k = 0; k < std::size(edits); ++k) {
        Bytes bad = lines;
        putWordAt(bad, edits[k].first, edits[k].second);
        EXPECT_FALSE(parseLineFile(bad, reason));
        EXPECT_EQ(reason, reasons[k]);
    }
    EXPECT_FALSE(parseLineFile(Bytes(lines.begin(), lines.begin() + 7), reason));
    EXPECT_EQ(reason, "truncated at byte 7 (the class words need 8 bytes)");
    EXPECT_FALSE(readLineFile(dir.path().string(), reason));
    EXPECT_EQ(reason, "not a regular file");
    // A length below 1 is an empty name; bytes after the last block are left alone.
    Bytes unnamed = lines;
    putWordAt(unnamed, 20, 0xFFFFFFF0);
    unnamed.erase(unnamed.begin() + 24);
    unnamed.push_back(7);
    read = parseLineFile(unnamed, reason);
    ASSERT_TRUE(read) << reason;
    EXPECT_EQ(read->elements[0].name, "");
    // Blocks of no records leave 8 bytes an element: the count is held to what an effect may hold.
    Bytes many = {0x54, 0x22, 0x02, 0x54, 0x06, 0x02, 0x20, 0x03, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int count : {LineFxManager::maxLoadedElements, LineFxManager::maxLoadedElements + 1}) {
        putWordAt(many, 12, static_cast<std::uint32_t>(count));
        many.resize(16 + 8 * static_cast<std::size_t>(count), 0);
        read = parseLineFile(many, reason);
        if (count == LineFxManager::maxLoadedElements) {
            ASSERT_TRUE(read) << reason;
            EXPECT_EQ(read->elements.size(), static_cast<std::size_t>(count));
        } else {
            EXPECT_FALSE(read);
            EXPECT_EQ(reason, "element count 65537 is more than a lines file holds (at most 65536)");
        }
    }
    // The longest name a file holds is read whole.
    one[0].name = std::string(255, 'n');
    read = parseLineFile(linesFileContents(one, lineBlockDefaults()), reason);
    ASSERT_TRUE(read) << reason;
    EXPECT_EQ(read->elements[0].name, one[0].name);
}

LineSettings settingsOf(LineFxElement& e)
{
    LineSettings s;
    e.readSettings(0, s);
    return s;
}

// The stored words of `got` against `want`, record by record, except the records in `skip`.
void expectRecords(const LineSettings& got, const LineSettings& want, const std::set<std::string>& skip = {})
{
    const auto *g = reinterpret_cast<const unsigned char*>(&got),
               *w = reinterpret_cast<const unsigned char*>(&want);
    for (const LineRecordInfo& r : lineRecords())
        EXPECT_TRUE(skip.count(r.name) ||
                    std::memcmp(g + 4 * r.firstWord, w + 4 * r.firstWord, 4 * r.words) == 0)
            << r.name;
}

class LineFiles : public LineFileFixture {
protected:
    // An element of `type` in `effect` with `s` applied (every switch its type takes).
    static LineFxElement& element(LineFxManager& effect, int type, const LineSettings& s)
    {
        LineFxElement* e = effect.addElement(type);
        e->applySettings(0, s, true);
        return *e;
    }
    LineFxManager effect;
};

TEST_F(LineFiles, EverySettingSurvivesAndALoadSwitchesTheElementOnKeepingNameAndType)
{
    ASSERT_EQ(distinctSettings().lineOn, 0);
    ASSERT_TRUE(saveElementFile(element(effect, BasicSet, distinctSettings()), file("all.vme")));
    LineFxElement& target = *effect.addElement(BasicSet);
    target.pblock()->SetValue(lineParam::lineName, 0, "kept");
    // The file holds no map: the element's own stays.
    ToneMap map(0.25f);
    target.pblock()->SetValue(lineParam::lineMap, 0, &map);
    struct Unset {
        LineFxElement& e;
        ~Unset() { e.pblock()->SetValue(lineParam::lineMap, 0, nullptr); }
    } unset{target};
    ASSERT_TRUE(loadElementFile(target, file("all.vme")));
    expectRecords(settingsOf(target), distinctSettings(), {"lineOn"});
    EXPECT_EQ(settingsOf(target).lineOn, 1);
    EXPECT_STREQ(target.pblock()->GetStr(lineParam::lineName), "kept");
    EXPECT_EQ(target.lineMap(), &map);
    EXPECT_TRUE(shown().empty());
}

TEST_F(LineFiles, MergeKeepsRecordsFlaggedAsDefaultAndOrsTheSwitches)
{
    lineDefaultSettings() = lineBlockDefaults();
    LineSettings inFile = lineBlockDefaults();
    inFile.lineWidth = 7.0f;
    inFile.lineColor[1] = 0.5f;
    inFile.edgeMaterial = 1;
    ASSERT_TRUE(saveElementFile(element(effect, BasicSet, inFile), file("m.vme")));
    LineSettings own = distinctSettings();
    own.lineOn = 1;
    own.outlineMaterial = own.edgeMaterial = own.edgeDepth = own.normal = 0;  // outlineObject on
    LineSettings merged = own;
    merged.lineWidth = 7.0f;
    std::memcpy(merged.lineColor, inFile.lineColor, sizeof merged.lineColor);
    merged.edgeMaterial = 1;
    for (bool merge : {true, false}) {
        lineLoadMerge() = merge;
        LineFxElement& target = element(effect, BasicSet, own);
        ASSERT_TRUE(loadElementFile(target, file("m.vme")));
        expectRecords(settingsOf(target), merge ? merged : inFile);
    }
}

TEST_F(LineFiles, TruncatedAndCorruptedFilesNeverOverreadAndARefusalChangesNothing)
{
    element(effect, EdgeBoundary, distinctSettings()).pblock()->SetValue(lineParam::lineName, 0, "edges");
    effect.addElement(NormalAngle);
    ASSERT_TRUE(saveElementFile(*effect.element(0), file("valid.vme")));
    ASSERT_TRUE(saveLinesFile(effect, file("valid.vma")));
    const Bytes valid[] = {readBytes(file("valid.vme")), readBytes(file("valid.vma"))};
    // Counts and lengths at and past their limits, and floats that are not numbers.
    const std::uint32_t telling[] = {0,          1,          10,         49,         255,       256,
                                     0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0x7FC00000, 0x7F800000};
    std::mt19937 rng(7321);
    int refused = 0;
    const int prefixes = int(valid[0].size() + valid[1].size());
    for (int k = 0; k < prefixes + 1500; ++k) {
        const bool lines = k < prefixes ? k >= int(valid[0].size()) : k % 2 == 1;
        Bytes b = valid[lines];
        if (k < prefixes)
            b.resize(std::size_t(k - (lines ? valid[0].size() : 0)));
        for (int edit = k < prefixes ? 3 : int(rng() % 3); edit < 3; ++edit) {
            const std::size_t at = rng() % (b.size() - 3);
            if (rng() % 2)
                b[at] = std::uint8_t(rng());
            else
                putWordAt(b, at, telling[rng() % std::size(telling)]);
        }
        writeBytes(file("bad"), b);
        core.clearMessages();
        const Bytes before = stateOf(effect);
        if (!(lines ? loadLinesFile(effect, file("bad"))
                    : loadElementFile(*effect.element(0), file("bad")))) {
            ++refused;
            ASSERT_EQ(stateOf(effect), before) << k;
            ASSERT_EQ(shown(), std::vector<std::string>{loadFailed});
            continue;
        }
        ASSERT_GE(k, prefixes) << "a cut file was taken";
        while (effect.elementCount() > 2)
            effect.removeElement(2);
    }
    EXPECT_GT(refused - prefixes, 100);  // both outcomes of a corruption are walked
    EXPECT_LT(refused - prefixes, 1400);
}

TEST_F(LineFiles, AFailedSaveLeavesThePreviousFileAndNoTemporaryFile)
{
    LineFxElement& e = *effect.addElement(BasicSet);
    ASSERT_TRUE(saveElementFile(e, file("keep.vme")));
    const Bytes before = readBytes(file("keep.vme"));
    e.applySettings(0, distinctSettings(), true);
    // Tests run as root, whom a read-only folder does not stop. A file-size limit binds root too:
    // the temporary file's writes fail after 100 bytes.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 100;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    const bool limited = setrlimit(RLIMIT_FSIZE, &small) == 0;
    const bool saved = saveElementFile(e, file("keep.vme")) || saveLinesFile(effect, file("keep.vme"));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    ASSERT_TRUE(limited);
    EXPECT_FALSE(saved);
    // A folder that is a regular file cannot take the temporary file at all.
    writeBytes(file("plain"), {1});
    EXPECT_FALSE(saveElementFile(e, file("plain/x.vme")));
    EXPECT_EQ(readBytes(file("keep.vme")), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    EXPECT_EQ(shown(), (std::vector<std::string>{saveFailed, saveFailed, saveFailed}));
}

}  // namespace
