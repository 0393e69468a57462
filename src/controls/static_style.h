#pragma once

#include <cstdint>

namespace zv::ss {

// Window style bits of a static control, with the system's values.
constexpr std::uint32_t kLeft = 0x0;
constexpr std::uint32_t kCenter = 0x1;
constexpr std::uint32_t kRight = 0x2;
constexpr std::uint32_t kLeftNoWordWrap = 0xC;
constexpr std::uint32_t kTypeMask = 0x1F;
constexpr std::uint32_t kNotify = 0x100;
constexpr std::uint32_t kCenterImage = 0x200;
constexpr std::uint32_t kWsBorder = 0x800000;
// Extended style bits.
constexpr std::uint32_t kWsExTransparent = 0x20;
constexpr std::uint32_t kWsExStaticEdge = 0x20000;

}  // namespace zv::ss
