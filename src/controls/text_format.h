#pragma once

#include <QString>

#include <cstdint>

namespace zv {

// Format bits of a text drawn in a rectangle, with the system's values.
namespace dt {
constexpr std::uint32_t kLeft = 0x00;
constexpr std::uint32_t kCenter = 0x01;
constexpr std::uint32_t kRight = 0x02;
constexpr std::uint32_t kVCenter = 0x04;
constexpr std::uint32_t kBottom = 0x08;
constexpr std::uint32_t kWordBreak = 0x10;
constexpr std::uint32_t kSingleLine = 0x20;
constexpr std::uint32_t kExpandTabs = 0x40;
constexpr std::uint32_t kNoPrefix = 0x800;
}  // namespace dt

// The format a label draws its text with, from its window style and its text:
// the type bits (style & 0x1F) choose centred, right or left with word wrap, or left without;
// a tab adds tab expansion; SS_CENTERIMAGE (0x200) replaces all of it by centred on one line
// (centred only horizontally when the text holds "\r\n").
std::uint32_t LabelTextFormat(std::uint32_t style, const QString& text);

}  // namespace zv
