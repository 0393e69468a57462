// English string table, stored under 0x0409. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"Scan"},
    {132, u"Adjust"},
    {133, u"Saturation"},
    {134, u"Brightness"},
    {135, u"Contrast"},
    {136, u"R"},
    {137, u"G"},
    {138, u"B"},
    {139, u"Default"},
    {140, u"Custom"},
    {141, u"Film Type"},
    {142, u"Slide"},
    {143, u"Negative"},
    {144, u"Black&&White"},
    {145, u"Resolution"},
    {146, u"Film Size"},
    {147, u"Settings"},
    {148, u"UI Language"},
    {149, u"Save Files In"},
    {150, u"Browse"},
    {151, u"Save image success"},
    {152, u"Save image failed"},
    {153, u"Please plug in film scanner"},
    {154, u"Scan when the frame settles"},
};
// clang-format on

}  // namespace

StringTable EnglishStringTable() {
    return {0x0409, kEntries};
}

}  // namespace zv
