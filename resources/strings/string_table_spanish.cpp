// Spanish string table, stored under 0x000A. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"Tomar Imagen"},
    {132, u"Ajustar"},
    {133, u"Saturación"},
    {134, u"Brillo"},
    {135, u"Contraste"},
    {136, u"Rojo"},
    {137, u"Verde"},
    {138, u"Azul"},
    {139, u"Defecto"},
    {140, u"Autodefinición"},
    {141, u"Tipo de Imagen"},
    {142, u"Diapositiva"},
    {143, u"Negativo"},
    {144, u"Blanco Negro"},
    {145, u"Resolución de Imagen"},
    {146, u"Tamaño de la Imagen"},
    {147, u"Configuración de dispositivo"},
    {148, u"Idioma"},
    {149, u"Guardar archivos en"},
    {150, u"Navegación"},
    {151, u"Guardar imagen exitosa"},
    {152, u"Guardar imagen fallida"},
    {153, u"Por favor conecte el escáner de película"},
    {154, u"Escanear cuando el fotograma se detenga"},
};
// clang-format on

}  // namespace

StringTable SpanishStringTable() {
    return {0x000A, kEntries};
}

}  // namespace zv
