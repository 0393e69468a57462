// French string table, stored under 0x000C. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"Prendre une image"},
    {132, u"Régler"},
    {133, u"Saturation"},
    {134, u"Luminosité"},
    {135, u"Contraste"},
    {136, u"Rouge"},
    {137, u"Vert"},
    {138, u"Bleu"},
    {139, u"Français"},
    {140, u"Autodéfinition"},
    {141, u"Type d'image"},
    {142, u"Glissoire"},
    {143, u"Négatif"},
    {144, u"Noir Blanc"},
    {145, u"Résolution de l'image"},
    {146, u"Taille de l'image"},
    {147, u"Réglages de l'appareil"},
    {148, u"Langage"},
    {149, u"Enregistrer sous"},
    {150, u"Navigation"},
    {151, u"Enregistrer le succès de l'image"},
    {152, u"Échec de l'enregistrement de l'image"},
    {153, u"Veuillez brancher un scanner de film"},
    {154, u"Numériser quand l'image est immobile"},
};
// clang-format on

}  // namespace

StringTable FrenchStringTable() {
    return {0x000C, kEntries};
}

}  // namespace zv
