#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using vml::resources::lookupString;
using vml::resources::stringCount;

std::string textOf(int id)
{
    const char* text = lookupString(id);
    return text ? std::string(text) : std::string("<no string>");
}

void expectTexts(const std::vector<std::pair<int, std::string>>& expected)
{
    for (const auto& [id, text] : expected)
        EXPECT_EQ(textOf(id), text) << "string " << id;
}

TEST(StringTable, EveryEntryIsFoundByLookup)
{
    // Walking a range that holds every id must find exactly stringCount()
    // distinct entries: a broken search or a duplicated id shows up as a
    // shortfall.
    ASSERT_GT(stringCount(), 0);
    int found = 0;
    for (int id = -16; id <= 20000; ++id) {
        const char* text = lookupString(id);
        if (!text)
            continue;
        ++found;
        EXPECT_GT(std::strlen(text), 0u) << "string " << id;
    }
    EXPECT_EQ(found, stringCount());
}

TEST(StringTable, LibraryDescriptionAndClassNames)
{
    expectTexts({
        {1, "Vermil+ (KOBAN STUDIO)"},
        {10, "Vermil+ ﾏﾃﾘｱﾙ"},
        {11, "Vermil+ ﾚﾝﾀﾞﾗｰ"},
        {12, "Vermil+ ﾌﾞﾗｼ"},
        {13, "Vermil+ ﾗｲﾝ"},
        {14, "Vermil+ ﾗｲﾝ Element"},
        {15, "Vermil+ ﾗｲﾝ"},
        {16, "Crayon+ ｽﾄﾛｰｸ"},
        // Render elements: both element classes start with the line element's name.
        {800, "Vermil+ ﾗｲﾝ"},
        {810, "Crayon+ ｽﾄﾛｰｸ"},
    });
}

TEST(StringTable, BlendMethodNamesInIdOrder)
{
    // Ids 56 and 57 are soft light and hard light; the drop-down lists show
    // them swapped, so a table that follows list order would get these wrong.
    expectTexts({
        {50, "通常"},
        {51, "加算"},
        {52, "減算"},
        {53, "乗算"},
        {54, "ｽｸﾘｰﾝ"},
        {55, "ｵｰﾊﾞｰﾚｲ"},
        {56, "ｿﾌﾄﾗｲﾄ"},
        {57, "ﾊｰﾄﾞﾗｲﾄ"},
        {58, "比較（暗）"},
        {59, "比較（明）"},
        {60, "差の絶対値"},
        {61, "除外"},
        {62, "色相"},
        {63, "彩度"},
        {64, "ｶﾗｰ"},
        {65, "輝度"},
    });
    EXPECT_EQ(lookupString(49), nullptr);
    EXPECT_EQ(lookupString(66), nullptr);
}

TEST(StringTable, KeepsHalfAndFullWidthCharactersByteForByte)
{
    // Spelled as bytes so that a conversion of half-width katakana or of the
    // full-width brackets to other forms cannot slip through unnoticed.
    EXPECT_EQ(textOf(11), "Vermil+ \xEF\xBE\x9A\xEF\xBE\x9D\xEF\xBE\x80\xEF\xBE\x9E\xEF\xBE\x97\xEF\xBD\xB0");
    EXPECT_EQ(textOf(57),
              "\xEF\xBE\x8A\xEF\xBD\xB0\xEF\xBE\x84\xEF\xBE\x9E\xEF\xBE\x97\xEF\xBD\xB2\xEF\xBE\x84");
    EXPECT_EQ(textOf(58), "\xE6\xAF\x94\xE8\xBC\x83\xEF\xBC\x88\xE6\x9A\x97\xEF\xBC\x89");
}

TEST(StringTable, RolloutTitlesLabelsAndMessages)
{
    expectTexts({
        {100, "基本ﾊﾟﾗﾒｰﾀ"},
        {104, "塗料"},
        {203, "BRUSH SIZE RND"},
        {418, "RND SIZE ENABLE"},
        {500, "ﾌﾞﾗｼｴﾃﾞｨﾀｰ"},
        {610, "基本ｾｯﾄ"},
        {613, "法線角度"},
        {781, "Vermil+ ﾗｲﾝの要素(*.vme)|*.vme|"},
        {789, "Vermil+ ﾗｲﾝ(*.vma)|*.vma|"},
        {796, "ﾌｧｲﾙの読み込みに失敗しました"},
        {921, "BRUSH TPYE"},
        {1002, "Vermil+ ﾚﾝﾀﾞﾗｰ設定"},
        {1012, "BLURSTR MAP"},
        {1024, "オブジェクトを追加"},
        {1031, "ｶｯﾄ"},
        {1080, "はい"},
        {1081, "いいえ"},
        {1101, "Vermil+ にじみ処理"},
        {9950, "ﾌﾞﾗｼ以外のﾏｯﾌﾟを設定できません"},
    });
}

TEST(StringTable, MessagesBreakIntoTwoLines)
{
    // The message boxes show two lines: the break is a newline character,
    // not a backslash followed by 'n'.
    expectTexts({
        {1200, "レンダリングに必要なメモリが不足しています。\nレンダリングを完了できない場合があります。"},
        {1201, "レンダリングに必要なメモリが不足しています。\nレンダリングを終了します。"},
        {1202, "フィールドレンダリングには対応していません。\nレンダリングを終了します。"},
    });
    for (int id : {1200, 1201, 1202}) {
        const char* text = lookupString(id);
        ASSERT_NE(text, nullptr) << "string " << id;
        EXPECT_EQ(std::strchr(text, '\\'), nullptr) << "string " << id;
    }
}

TEST(StringTable, MissingIdsGiveNull)
{
    for (int id : {INT_MIN, -1, 0, 2, 9, 17, 49, 66, 99, 9949, 9951, 99999, INT_MAX})
        EXPECT_EQ(lookupString(id), nullptr) << "string " << id;
}

TEST(StringTable, IdsWithoutAKnownTextAreAbsent)
{
    // These ids are referred to by the code but have no text yet; a made-up
    // text would be shown to the user, so they must stay missing.
    for (int id : {785, 793, 919, 920, 922, 935, 1100, 1102, 1103})
        EXPECT_EQ(lookupString(id), nullptr) << "string " << id;
}

}  // namespace
