// German string table, stored under 0x0007. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"Bild Aufnehmen"},
    {132, u"Anpassen"},
    {133, u"Sättigung"},
    {134, u"Helligkeit"},
    {135, u"Kontrast"},
    {136, u"Rot"},
    {137, u"Grün"},
    {138, u"Blau"},
    {139, u"Defaulteinstellung"},
    {140, u"Brauch"},
    {141, u"Bildtyp"},
    {142, u"Rutsche"},
    {143, u"Negativ"},
    {144, u"Schwarz-Weiss"},
    {145, u"Bildauflösung"},
    {146, u"Bildgröße"},
    {147, u"Geräte Einstellen"},
    {148, u"Oberflächensprache"},
    {149, u"Speicherort"},
    {150, u"Durchsuche"},
    {151, u"Bild erfolgreich gespeichert"},
    {152, u"Bild konnte nicht gespeichert werden"},
    {153, u"Bitte stecken Sie den Zevuvoraner ein"},
    {154, u"Scannen, wenn das Bild stillsteht"},
};
// clang-format on

}  // namespace

StringTable GermanStringTable() {
    return {0x0007, kEntries};
}

}  // namespace zv
