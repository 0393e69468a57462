#include "settings/selected_language.h"

#include "settings/user_default_language.h"

#include <atomic>

namespace zv {
namespace {

constexpr std::int32_t kNotSet = -1;

std::atomic<std::int32_t> s_selected{kNotSet};

}  // namespace

std::uint16_t GetSelectedLanguage() {
    const std::int32_t language = s_selected.load(std::memory_order_relaxed);
    return language == kNotSet ? GetUserDefaultLangID() : static_cast<std::uint16_t>(language);
}

void SetSelectedLanguage(std::uint16_t language) {
    s_selected.store(language, std::memory_order_relaxed);
}

}  // namespace zv
