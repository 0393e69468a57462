// Japanese string table, stored under 0x0011. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"撮影"},
    {132, u"調整"},
    {133, u"飽和度"},
    {134, u"輝度"},
    {135, u"対比度"},
    {136, u"赤"},
    {137, u"緑"},
    {138, u"青い"},
    {139, u"デフォルト"},
    {140, u"カスタム"},
    {141, u"画像形式"},
    {142, u"ポジフィルム"},
    {143, u"ネガフィルム"},
    {144, u"黒白"},
    {145, u"解像度"},
    {146, u"フィルムサイズ"},
    {147, u"設置"},
    {148, u"言語"},
    {149, u"保存位置"},
    {150, u"閲覧"},
    {151, u"画像は保存されました"},
    {152, u"画像は保存されません"},
    {153, u"スキャナーを接続してください"},
    {154, u"コマが止まったら撮影"},
};
// clang-format on

}  // namespace

StringTable JapaneseStringTable() {
    return {0x0011, kEntries};
}

}  // namespace zv
