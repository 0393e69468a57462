// Chinese string table, stored under 0x0004. UTF-8 source; the texts are the window's own.
#include "resources/strings/string_tables.h"

namespace zv {
namespace {

// clang-format off
constexpr StringTableEntry kEntries[] = {
    {131, u"拍摄"},
    {132, u"调整"},
    {133, u"饱和度"},
    {134, u"亮度"},
    {135, u"对比度"},
    {136, u"红"},
    {137, u"绿"},
    {138, u"蓝"},
    {139, u"默认"},
    {140, u"自定义"},
    {141, u"底片类型"},
    {142, u"正片"},
    {143, u"负片"},
    {144, u"黑白"},
    {145, u"分辨率"},
    {146, u"底片尺寸"},
    {147, u"设置"},
    {148, u"界面语言"},
    {149, u"保存位置"},
    {150, u"浏览"},
    {151, u"保存成功"},
    {152, u"保存失败"},
    {153, u"请连接扫描仪"},
    {154, u"画面静止后自动扫描"},
};
// clang-format on

}  // namespace

StringTable ChineseStringTable() {
    return {0x0004, kEntries};
}

}  // namespace zv
