// Italian string table, stored under 0x0010. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"Prendi Immagine"},
    {132, u"Regolazione"},
    {133, u"Saturazione"},
    {134, u"Luminosità"},
    {135, u"Contrasto"},
    {136, u"Rosso"},
    {137, u"Verde"},
    {138, u"Blu"},
    {139, u"Ripristina Predefiniti"},
    {140, u"Autodefinizione"},
    {141, u"Tipo di Immagine"},
    {142, u"Scivolo"},
    {143, u"Negativo"},
    {144, u"Nero Bianco"},
    {145, u"Risoluzione Dell'immagine"},
    {146, u"Dimensione Dell'immagine"},
    {147, u"Impostazioni del Dispositivo"},
    {148, u"Lingue"},
    {149, u"Posizione di salva"},
    {150, u"Navigazione"},
    {151, u"Salva il successo dell'immagine"},
    {152, u"Salva immagine non riuscita"},
    {153, u"Si prega di collegare lo scanner per pellicole"},
    {154, u"Scansiona quando il fotogramma è fermo"},
};
// clang-format on

}  // namespace

StringTable ItalianStringTable() {
    return {0x0010, kEntries};
}

}  // namespace zv
