#include "settings/user_default_language.h"

#include "settings/locale_lang_id.h"
#include "settings/selected_language.h"

#include <atomic>
#include <cstdlib>

namespace zv {
namespace {

constexpr std::int32_t kNotTaken = -1;

// Written at process start (or on first use), read by the string lookup on the GUI thread.
std::atomic<std::int32_t> s_userDefault{kNotTaken};

std::uint16_t LangIdFromEnvironment() {
    return LangIdFromLocale(UserMessagesLocale());
}

}  // namespace

std::string UserMessagesLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return {};
}

void InitUserDefaultLanguage() {
    const std::uint16_t language = LangIdFromEnvironment();
    s_userDefault.store(language, std::memory_order_relaxed);
    SetSelectedLanguage(language);
}

std::uint16_t GetUserDefaultLangID() {
    std::int32_t language = s_userDefault.load(std::memory_order_relaxed);
    if (language == kNotTaken) {
        std::int32_t taken = LangIdFromEnvironment();
        // Another thread may have taken it first; keep whichever value was stored.
        if (!s_userDefault.compare_exchange_strong(language, taken, std::memory_order_relaxed)) {
            taken = language;
        }
        language = taken;
    }
    return static_cast<std::uint16_t>(language);
}

}  // namespace zv
