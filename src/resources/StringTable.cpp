// The library's string table: every user-visible text (class names, rollout
// titles, parameter labels, blend-method names, file-dialog texts and message
// box texts) under its numeric id. Texts are UTF-8 and keep the half-width
// katakana that the dialogs show.

#include "resources/StringTable.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace vml::resources {
namespace {

struct StringEntry {
    int id;
    const char* text;
};

// Sorted by id; lookupString() relies on it.
constexpr StringEntry kStrings[] = {
    // Library description and class names
    {1, "Vermil+ (KOBAN STUDIO)"},
    {10, "Vermil+ ﾏﾃﾘｱﾙ"},
    {11, "Vermil+ ﾚﾝﾀﾞﾗｰ"},
    {12, "Vermil+ ﾌﾞﾗｼ"},
    {13, "Vermil+ ﾗｲﾝ"},
    {14, "Vermil+ ﾗｲﾝ Element"},
    {15, "Vermil+ ﾗｲﾝ"},
    {16, "Crayon+ ｽﾄﾛｰｸ"},
    // Colour blend methods, in id order (list position 6 shows 57, position 7 shows 56)
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
    // Material: sub-animatable names, rollout titles and base-block labels
    {100, "基本ﾊﾟﾗﾒｰﾀ"},
    {101, "ﾊﾞｰｼﾞｮﾝ"},
    {102, "ﾌﾞﾗｼ"},
    {103, "ｽﾄﾛｰｸ"},
    {104, "塗料"},
    {105, "HIGH LEVEL"},
    {106, "HIGH GROSS"},
    {107, "HI MAP OPACITY"},
    {108, "HI MAP ENABLE"},
    {109, "HI MAP"},
    {110, "BASEMAT"},
    {111, "SHADING"},
    {112, "HIGH COLOR"},
    {113, "HIGH BLEND"},
    {114, "HI SHARP"},
    {115, "BUMP ENABLE"},
    {116, "BUMP AMOUNT"},
    {117, "BUMP MAP"},
    {118, "REFLEC ENABLE"},
    {119, "HI ANISO"},
    {120, "HI ORIENT"},
    {121, "HI LEVEL MAP"},
    {122, "HI GROSS MAP"},
    {123, "BASE RND INTERVAL"},
    {124, "BASE RND MOVE DETECT"},
    {127, "REFLEC AMOUNT"},
    {128, "REFLEC MAP"},
    {129, "BASE MATERIAL COLOR ENABLE"},
    {130, "BASE MATERIAL COLOR"},
    {131, "BASE MATERIAL MAP OPACITY"},
    {132, "BASE MATERIAL MAP"},
    {133, "BASE MATERIAL BLEND"},
    {134, "BASE MATERIAL ALPHA"},
    {135, "BASE MATERIAL MAP ENABLE"},
    {136, "BASE HIDDEN FACE REMOVAL"},
    {137, "BASE RND AUTO"},
    {141, "BRUSH OFS"},
    {142, "BRUSH OFS RND"},
    {143, "BRUSH OFS ENABLE"},
    {144, "BRUSH NO SIDE DROP"},
    {145, "基本"},
    // Material: brush-block labels
    {200, "BRUSH SIZE"},
    {201, "BRUSH SIZE RND"},
    {202, "BRUSH ANGLE"},
    {203, "BRUSH SIZE RND"},
    {204, "BRUSH DENSITY"},
    {205, "BRUSH ROUGH"},
    {206, "BRUSH FINE"},
    {207, "BRUSH FINE RND"},
    {208, "BRUSH SIZE GEOMETRY"},
    {209, "BRUSH OPACITY"},
    {210, "BRUSH FADE SIZE"},
    {211, "BRUSH FADE SIZE THRESHOLD"},
    {212, "BRUSH FADE SIZE RND"},
    {213, "BRUSH FADE ALPHA"},
    {214, "BRUSH FADE ALPHA THRESHOLD"},
    {215, "BRUSH FADE ALPHA RND"},
    {216, "BRUSH ROUGH GEOMETRY"},
    {217, "BRUSH EDITOR"},
    {218, "BRUSH ANGLE FIT"},
    {219, "BRUSH ANGLE FIT OFFSET"},
    {220, "BRUSH FADE SIZE LINEAR"},
    {221, "BRUSH FADE ALPHA LINEAR"},
    {222, "BRUSH SCALE ENABLE"},
    {223, "BRUSH SCALE START"},
    {224, "BRUSH SCALE END"},
    {225, "BRUSH OFFSET SCREEN X"},
    {226, "BRUSH OFFSET SCREEN X RND"},
    {227, "BRUSH OFFSET SCREEN Y"},
    {228, "BRUSH OFFSET SCREEN Y RND"},
    {229, "BRUSH OFFSET NORMAL"},
    {230, "BRUSH OFFSET NORMAL RND"},
    // Material: stroke-block labels
    {304, "STROKE ANGLE FIT"},
    {305, "STROKE ANGLE FIT OFS"},
    {306, "STROKE LENGTH GEOM"},
    {307, "STROKE OFFSET"},
    {308, "STROKE OFFSET RND"},
    {309, "STROKE DEFORM AMP"},
    {310, "STROKE LENGTH"},
    {311, "STROKE LENGTH RND"},
    {312, "STROKE DEFORM AMP RND"},
    {313, "STROKE DEFORM FREQ"},
    {314, "STROKE DEFORM FREQ RND"},
    {315, "STROKE DEFORM PHASE"},
    {316, "STROKE DEFORM PHASE RND"},
    {317, "STROKE ANGLE"},
    {318, "STROKE ANGLE RND"},
    {319, "STROKE ROUGH"},
    {320, "STROKE ROUGH RND"},
    {321, "STROKE RAKE"},
    {322, "STROKE DAMP SIZE START"},
    {323, "STROKE DAMP SIZE START POS"},
    {324, "STROKE DAMP SIZE RND"},
    {325, "STROKE DAMP ALPHA START"},
    {326, "STROKE DAMP ALPHA START POS"},
    {327, "STROKE DAMP ALPHA RND"},
    {328, "STROKE DAMP SIZE END"},
    {329, "STROKE DAMP SIZE END POS"},
    {330, "STROKE DAMP ALPHA END"},
    {331, "STROKE DAMP ALPHA END POS"},
    {332, "STROKE SPACE"},
    {333, "STROKE SPACE RND"},
    // Paint-block labels (material and line element)
    {400, "PAINT BLEND ENABLE"},
    {401, "PAINT BLEND METHOD"},
    {402, "PAINT BLEND ENABLE"},
    {403, "PAINT COLOR R"},
    {404, "PAINT COLOR G"},
    {405, "PAINT COLOR B"},
    {406, "PAINT COLOR TYPE"},
    {407, "PAINT BLUR"},
    {408, "PAINT BLUR RND"},
    {409, "PAINT BLUR BOUND"},
    {410, "PAINT BLUR BOUND RND"},
    {411, "PAINT MIX"},
    {412, "PAINT MIX RND"},
    {413, "PAINT WIND"},
    {414, "PAINT WIND RND"},
    {415, "PAINT WIND ANGLE"},
    {416, "PAINT MONO ENABLE"},
    {417, "PAINT MONO AMOUNT"},
    {418, "RND SIZE ENABLE"},
    {419, "RND SIZE"},
    {420, "PAINT DRY"},
    {421, "PAINT DRY RND"},
    {422, "PAINT WHITE TRANS ENABLE"},
    {423, "PAINT WHITE TRANS AMOUNT"},
    {424, "PAINT CON ENABLE"},
    {425, "PAINT CON AMOUNT"},
    // Brush texture map
    {500, "ﾌﾞﾗｼｴﾃﾞｨﾀｰ"},
    {529, "BRUSH CACHE DISABLE"},
    {530, "BRUSH RNDNUM"},
    // Line effect: rollout titles and element types
    {600, "Vermil+ ﾗｲﾝのﾊﾟﾗﾒｰﾀ"},
    {601, "Vermil+ ﾗｲﾝの要素"},
    {602, "LINE OUT RENDER ELEMENT"},
    {603, "Vermil+ ﾊﾞｰｼﾞｮﾝ"},
    {610, "基本ｾｯﾄ"},
    {611, "ｱｳﾄﾗｲﾝ"},
    {612, "ｴｯｼﾞ境界"},
    {613, "法線角度"},
    // Line element: parameter labels
    {620, "LINE COLOR"},
    {621, "LINE MAP OPACITY"},
    {622, "LINE MAP ENABLE"},
    {623, "LINE MAP"},
    {624, "LINE BLEND"},
    {625, "LINE ALPHA"},
    {627, "LINE STRETCH"},
    {628, "LINE ANGLE"},
    {642, "LINE ZMIN"},
    {643, "LINE ZMAX"},
    {644, "LINE ZSCALE ENABLE"},
    {645, "LINE ZALPHA MIN"},
    {646, "LINE ZALPHA MAX"},
    {647, "LINE ZALPHA MAX VALUE"},
    {648, "LINE ZALPHA ENABLE"},
    {700, "Vermil+ ﾗｲﾝ 要素"},
    {701, "LINE MATERIAL ID"},
    {708, "LINE WIDTH"},
    {709, "LINE DEFORM"},
    {712, "OUTLINE OBJECT"},
    {713, "OUTLINE MATERIAL"},
    {714, "EDGE MATERIAL"},
    {715, "EDGE DEPTH"},
    {716, "NORMAL"},
    {717, "EDGE DEPTH THRESHOLD"},
    {718, "NORMAL MIN"},
    {719, "NORMAL MAX"},
    {720, "NORMAL DEPTH"},
    {724, "LINE BLURE"},
    {725, "LINE BLURE OFFSET"},
    {726, "LINE NAME"},
    {727, "LINE NAME"},
    {728, "OUTLINE OBJECT THRESHOLD"},
    {729, "OUTLINE MATERIAL THRESHOLD"},
    {733, "LINE ZALPHA MIN VALUE"},
    // Line files: parameter labels, file-dialog filters, captions and messages
    {780, "LINE ELEMENT LOAD"},
    {781, "Vermil+ ﾗｲﾝの要素(*.vme)|*.vme|"},
    {782, "開く"},
    {783, "Vermil+ ﾗｲﾝの要素を開く"},
    {784, "LINE SAVE"},
    {786, "保存"},
    {787, "Vermil+ ﾗｲﾝの要素を保存"},
    {789, "Vermil+ ﾗｲﾝ(*.vma)|*.vma|"},
    {790, "開く"},
    {791, "Vermil+ ﾗｲﾝを開く"},
    {794, "保存"},
    {795, "Vermil+ ﾗｲﾝを保存"},
    {796, "ﾌｧｲﾙの読み込みに失敗しました"},
    {797, "ﾌｧｲﾙの書き込みに失敗しました"},
    // Render elements
    {800, "Vermil+ ﾗｲﾝ"},
    {801, "Parameters"},
    {802, "Filter On"},
    {803, "Enabled"},
    {804, "Name"},
    {805, "Bitmap"},
    {810, "Crayon+ ｽﾄﾛｰｸ"},
    // Brush texture map: track-view parameter names and brush types
    {918, "BRUSH MAP OPACITY"},
    {921, "BRUSH TPYE"},
    {936, "BRUSH DAMP END"},
    {937, "通常"},
    {938, "複数"},
    // Renderer: rollout titles
    {1001, "Vermil+ ﾊﾞｰｼﾞｮﾝ"},
    {1002, "Vermil+ ﾚﾝﾀﾞﾗｰ設定"},
    {1003, "Vermil+ ﾊﾟﾗﾒｰﾀ"},
    // Renderer: parameter labels and multipass node picking
    {1010, "BLURSTR ENABLE"},
    {1011, "BLURSTR AMOUNT"},
    {1012, "BLURSTR MAP"},
    {1013, "BRUSH CACHE ENABLE"},
    {1014, "BRUSH CACHE SIZE"},
    {1015, "BRUSH CACHE NUMBER"},
    {1016, "PEN STROKE ENABLE"},
    {1017, "PEN STROKE BLEND"},
    {1018, "PEN STROKE ALPHA"},
    {1019, "BRUSH SCALE ENABLE"},
    {1020, "BRUSH SCALE AMOUNT"},
    {1021, "MULTIPASS NODES"},
    {1022, "MULTIPASS ENABLE"},
    {1023, "MULTIPASS ID"},
    {1024, "オブジェクトを追加"},
    {1025, "追加"},
    {1026, "オブジェクトを解除"},
    {1027, "解除"},
    {1028, "SAVE MEMORY ENABLE"},
    {1029, "MULTIPASS CUT NODES"},
    {1030, "オブジェクトをカット"},
    {1031, "ｶｯﾄ"},
    // Renderer: progress summary
    {1080, "はい"},
    {1081, "いいえ"},
    // Renderer: progress titles
    {1101, "Vermil+ にじみ処理"},
    // Renderer: messages
    {1200, "レンダリングに必要なメモリが不足しています。\nレンダリングを完了できない場合があります。"},
    {1201, "レンダリングに必要なメモリが不足しています。\nレンダリングを終了します。"},
    {1202, "フィールドレンダリングには対応していません。\nレンダリングを終了します。"},
    // Material: brush slot message
    {9950, "ﾌﾞﾗｼ以外のﾏｯﾌﾟを設定できません"},
};

constexpr bool isWellFormed()
{
    for (std::size_t i = 0; i < std::size(kStrings); ++i) {
        if (kStrings[i].text == nullptr || kStrings[i].text[0] == '\0')
            return false;
        if (i > 0 && kStrings[i - 1].id >= kStrings[i].id)
            return false;
    }
    return true;
}
static_assert(isWellFormed(), "string ids must be strictly ascending and every text non-empty");

}  // namespace

const char* lookupString(int id)
{
    const StringEntry* last = std::end(kStrings);
    const StringEntry* it = std::lower_bound(std::begin(kStrings), last, id,
                                             [](const StringEntry& e, int key) { return e.id < key; });
    return (it != last && it->id == id) ? it->text : nullptr;
}

int stringCount() { return static_cast<int>(std::size(kStrings)); }

}  // namespace vml::resources

// Ids used without a known text. The code refers to these ids, but their texts
// are not settled yet, so they are left out of the table and look up as null:
//   785         file filter of the line element "save" dialog (.vme)
//   793         file filter of the lines "save" dialog (.vma)
//   919, 920    track-view names of brush parameters 1 and 2
//   922 - 935   track-view names of brush parameters 4 to 17
//   1100        progress title while strokes are painted
//   1102        progress title while pen strokes are composited
//   1103        progress title of a pass and of loading the canvas
