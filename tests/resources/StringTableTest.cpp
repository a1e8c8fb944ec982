#include "resources/StringTable.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

using vml::resources::lookupString;
using vml::resources::stringCount;

void expectTexts(const std::vector<std::pair<int, std::string>>& expected)
{
    for (const auto& [id, text] : expected) {
        const char* found = lookupString(id);
        EXPECT_EQ(found ? std::string(found) : "<no string>", text) << "string " << id;
    }
}

TEST(StringTable, EveryEntryIsFoundByLookup)
{
    // An unsorted table or a duplicated id shows up as a shortfall.
    ASSERT_GT(stringCount(), 0);
    int found = 0;
    for (int id = -16; id <= 20000; ++id) {
        const char* text = lookupString(id);
        found += text != nullptr;
        EXPECT_TRUE(!text || *text) << "empty string " << id;
    }
    EXPECT_EQ(found, stringCount());
}

TEST(StringTable, Texts)
{
    expectTexts({
        {1, "Vermil+ (KOBAN STUDIO)"},
        {12, "Vermil+ ﾌﾞﾗｼ"},
        {14, "Vermil+ ﾗｲﾝ Element"},
        {16, "Crayon+ ｽﾄﾛｰｸ"},
        {800, "Vermil+ ﾗｲﾝ"},
        {810, "Crayon+ ｽﾄﾛｰｸ"},
        // Blend methods in id order; the drop-down lists show 56 and 57 swapped.
        {50, "通常"},
        {55, "ｵｰﾊﾞｰﾚｲ"},
        {56, "ｿﾌﾄﾗｲﾄ"},
        {57, "ﾊｰﾄﾞﾗｲﾄ"},
        {58, "比較（暗）"},
        {65, "輝度"},
        {104, "塗料"},
        {418, "RND SIZE ENABLE"},
        {781, "Vermil+ ﾗｲﾝの要素(*.vme)|*.vme|"},
        {921, "BRUSH TPYE"},
        {1024, "オブジェクトを追加"},
        {9950, "ﾌﾞﾗｼ以外のﾏｯﾌﾟを設定できません"},
        // Message boxes show two lines: a newline character, not a backslash and 'n'.
        {1200, "レンダリングに必要なメモリが不足しています。\nレンダリングを完了できない場合があります。"},
        {1202, "フィールドレンダリングには対応していません。\nレンダリングを終了します。"},
    });
}

TEST(StringTable, MissingIdsGiveNull)
{
    // 785 to 1103 are used by the code without a known text; a made-up one would reach the user.
    for (int id : {INT_MIN, -1,      0,   2,   9,   17,  49,  66,  99,   9949, 9951,
                   99999,   INT_MAX, 785, 793, 919, 920, 922, 935, 1100, 1102, 1103})
        EXPECT_EQ(lookupString(id), nullptr) << "string " << id;
}

}  // namespace
