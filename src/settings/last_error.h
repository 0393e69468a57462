#pragma once

#include <cstdint>

namespace zv {

// The calling thread's last-error code: a per-thread value that operations set on failure
// when their return value alone cannot say why. Starts at 0 on every thread.
inline constexpr std::uint32_t kErrorResourceNameNotFound = 1814;

std::uint32_t GetLastError();
void SetLastError(std::uint32_t error);

}  // namespace zv
