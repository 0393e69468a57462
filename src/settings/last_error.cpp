#include "settings/last_error.h"

namespace zv {
namespace {

thread_local std::uint32_t t_lastError = 0;

}  // namespace

std::uint32_t GetLastError() {
    return t_lastError;
}

void SetLastError(std::uint32_t error) {
    t_lastError = error;
}

}  // namespace zv
