// Loading and saving elements and the effect's list: what a load takes (replace, merge, short
// files, the type's switches, lineOn), what a failed load or save leaves (nothing changed, the
// message shown, the previous file), and the parameters, question and paths around them.

#include "support/LineFileTestSupport.h"

#include "line/LineElementType.h"
#include "line/LineFileFormat.h"
#include "line/LineFxParamBlocks.h"

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <random>
#include <set>

using namespace vml;
using namespace test_support;

namespace {

std::uint32_t word(const LineSettings& s, int w)
{
    std::uint32_t v;
    std::memcpy(&v, reinterpret_cast<const unsigned char*>(&s) + 4 * w, 4);
    return v;
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
    for (const LineRecordInfo& r : lineRecords())
        for (int k = 0; k < r.words && !skip.count(r.name); ++k)
            EXPECT_EQ(word(got, r.firstWord + k), word(want, r.firstWord + k)) << r.name;
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

TEST_F(LineFiles, AShortFileSetsItsRecordsAndTheTypeLimitsTheSwitches)
{
    ASSERT_TRUE(saveElementFile(element(effect, BasicSet, distinctSettings()), file("full.vme")));
    Bytes b = readBytes(file("full.vme"));
    putWordAt(b, 8, 10);
    b.resize(12 + lineRecordBlockSize(10));
    writeBytes(file("short.vme"), b);
    LineFxElement& older = *effect.addElement(BasicSet);
    const LineSettings before = settingsOf(older);
    ASSERT_TRUE(loadElementFile(older, file("short.vme")));
    const LineSettings inFile = distinctSettings();
    LineSettings want = before;
    std::memcpy(static_cast<void*>(&want), &inFile, 12 * 4);  // words 0-11: ten records
    want.lineOn = 1;
    expectRecords(settingsOf(older), want);

    // Every switch is on in the file; each type takes only its own.
    using namespace lineParam;
    const std::vector<ParamID> taken[] = {
        {outlineObject, outlineMaterial}, {edgeMaterial, edgeDepth}, {normal}};
    for (int type : {Outline, EdgeBoundary, NormalAngle}) {
        LineFxElement& e = *effect.addElement(type);
        ASSERT_TRUE(loadElementFile(e, file("full.vme")));
        EXPECT_EQ(e.type(), type);
        std::vector<ParamID> on;
        for (ParamID sw : {outlineObject, outlineMaterial, edgeMaterial, edgeDepth, normal})
            if (e.pblock()->GetInt(sw))
                on.push_back(sw);
        EXPECT_EQ(on, taken[type - 1]) << type;
    }
}

TEST_F(LineFiles, ALinesFileAppendsItsElementsAndSelectsTheLast)
{
    LineFxManager source;
    element(source, Outline, distinctSettings()).pblock()->SetValue(lineParam::lineName, 0, "rim");
    element(source, EdgeBoundary, distinctSettings());  // lineOn off
    element(source, NormalAngle, lineBlockDefaults()).pblock()->SetValue(lineParam::outlineObject, 0, 1);
    ASSERT_TRUE(saveLinesFile(source, file("three.vma")));

    element(effect, BasicSet, distinctSettings());
    effect.addElement(Outline);
    const Bytes before = stateOf(effect);
    ASSERT_TRUE(loadLinesFile(effect, file("three.vma")));
    ASSERT_EQ(effect.elementCount(), 5);
    EXPECT_EQ(effect.selected(), 4);
    for (int k = 0; k < 3; ++k) {
        LineFxElement &want = *source.element(k), &got = *effect.element(2 + k);
        EXPECT_EQ(got.type(), want.type());
        EXPECT_STREQ(got.pblock()->GetStr(lineParam::lineName), want.pblock()->GetStr(lineParam::lineName));
        // lineOn comes from the file; outlineObject is not a normal-angle switch.
        expectRecords(settingsOf(got), settingsOf(want), {k == 2 ? "outlineObject" : ""});
    }
    EXPECT_EQ(effect.element(4)->pblock()->GetInt(lineParam::outlineObject), 0);
    while (effect.elementCount() > 2)
        effect.removeElement(2);
    effect.setSelected(0);
    EXPECT_EQ(stateOf(effect), before);

    // Each kind refuses the other's file, changing nothing.
    ASSERT_TRUE(saveElementFile(*effect.element(0), file("one.vme")));
    EXPECT_FALSE(loadElementFile(*effect.element(0), file("three.vma")));
    EXPECT_FALSE(loadLinesFile(effect, file("one.vme")));
    EXPECT_EQ(stateOf(effect), before);
    EXPECT_EQ(shown(), (std::vector<std::string>{loadFailed, loadFailed}));
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

TEST_F(LineFiles, PathsAreRecordedAndTheLoadMethodIsAskedFirst)
{
    LineFxElement& e = element(effect, BasicSet, lineBlockDefaults());
    lineDefaultSettings() = lineBlockDefaults();
    ASSERT_TRUE(saveElementFile(e, file("a.vme")));  // every record flagged as default
    ASSERT_TRUE(saveLinesFile(effect, file("a.vma")));
    EXPECT_EQ(elementFileInitialPath(), file("a.vme"));
    EXPECT_EQ(linesFileInitialPath(), file("a.vma"));
    EXPECT_FALSE(loadLinesFile(effect, file("gone.vma")));
    EXPECT_EQ(linesFileInitialPath(), file("gone.vma"));

    e.pblock()->SetValue(lineParam::lineAlpha, 0, 33.0f);
    const Bytes before = stateOf(effect);
    lineLoadMethodQuery() = [] { return LineLoadMethod::Cancel; };
    EXPECT_FALSE(loadElementFile(e, file("gone.vme")));  // asked before the file is opened
    EXPECT_EQ(elementFileInitialPath(), file("gone.vme"));
    EXPECT_EQ(stateOf(effect), before);
    EXPECT_EQ(shown(), std::vector<std::string>{loadFailed});  // the lines file only

    lineLoadMethodQuery() = [] { return LineLoadMethod::Merge; };
    ASSERT_TRUE(loadElementFile(e, file("a.vme")));
    lineLoadMethodQuery() = nullptr;  // the last answer stands: merge again
    ASSERT_TRUE(loadElementFile(e, file("a.vme")));
    EXPECT_TRUE(lineLoadMerge());
    EXPECT_EQ(e.pblock()->GetFloat(lineParam::lineAlpha), 33.0f);
}

TEST_F(LineFiles, SettingAFileNameParameterRunsItsOperation)
{
    LineFxElement& e = element(effect, EdgeBoundary, distinctSettings());
    e.pblock()->SetValue(lineParam::lineSave, 0, file("p.vme"));
    e.pblock()->SetValue(lineParam::lineWidth, 0, 9.0f);
    e.pblock()->SetValue(lineParam::lineLoad, 0, file("p.vme"));
    EXPECT_EQ(e.pblock()->GetFloat(lineParam::lineWidth), distinctSettings().lineWidth);
    effect.pblock()->SetValue(lineFxParam::lineSaveAll, 0, file("p.vma"));
    effect.pblock()->SetValue(lineFxParam::lineLoadAll, 0, file("p.vma"));
    ASSERT_EQ(effect.elementCount(), 2);
    EXPECT_EQ(effect.selected(), 1);
    EXPECT_EQ(effect.element(1)->pblock()->GetFloat(lineParam::lineWidth), distinctSettings().lineWidth);
    // An empty name runs nothing.
    e.pblock()->SetValue(lineParam::lineLoad, 0, "");
    effect.pblock()->SetValue(lineFxParam::lineLoadAll, 0, "");
    EXPECT_EQ(effect.elementCount(), 2);
    EXPECT_TRUE(shown().empty());
}

}  // namespace
