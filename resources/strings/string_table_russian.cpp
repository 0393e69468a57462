// Russian string table, stored under 0x0019. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"захват"},
    {132, u"Настроить"},
    {133, u"Насыщенность"},
    {134, u"Яркость"},
    {135, u"Контраст"},
    {136, u"красный"},
    {137, u"зеленый"},
    {138, u"синий"},
    {139, u"Сбросить"},
    {140, u"Самоопределение"},
    {141, u"тип изображения"},
    {142, u"Позитив"},
    {143, u"негатив"},
    {144, u"Черно-белый"},
    {145, u"Разрешение"},
    {146, u"размер пленки"},
    {147, u"Параметры"},
    {148, u"Язык"},
    {149, u"Сохранить файлы на"},
    {150, u"Просмотреть"},
    {151, u"Сохраните успешно"},
    {152, u"Сохраните провал"},
    {153, u"устройство не подключено"},
    {154, u"Сканировать, когда кадр остановится"},
};
// clang-format on

}  // namespace

StringTable RussianStringTable() {
    return {0x0019, kEntries};
}

}  // namespace zv
