#pragma once

#include "settings/user_default_language.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace zv::test {

// Sets LC_ALL, LC_MESSAGES and LANG (nullptr: unset) and takes the user's default language
// afresh; the destructor puts the variables back and takes it again. Tests run one at a time
// on the main thread, so changing the environment is safe here.
class ScopedLocaleEnvironment {
public:
    ScopedLocaleEnvironment(const char* lcAll, const char* lcMessages, const char* lang) {
        const std::array<const char*, 3> values = {lcAll, lcMessages, lang};
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            if (const char* old = std::getenv(kNames[i])) {
                m_saved[i] = old;
            }
            Put(kNames[i], values[i]);
        }
        InitUserDefaultLanguage();
    }

    ~ScopedLocaleEnvironment() {
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            Put(kNames[i], m_saved[i] ? m_saved[i]->c_str() : nullptr);
        }
        InitUserDefaultLanguage();
    }

    ScopedLocaleEnvironment(const ScopedLocaleEnvironment&) = delete;
    ScopedLocaleEnvironment& operator=(const ScopedLocaleEnvironment&) = delete;

private:
    static constexpr std::array<const char*, 3> kNames = {"LC_ALL", "LC_MESSAGES", "LANG"};

    static void Put(const char* name, const char* value) {
        if (value == nullptr) {
            ::unsetenv(name);
        } else {
            ::setenv(name, value, 1);
        }
    }

    std::array<std::optional<std::string>, 3> m_saved;
};

}  // namespace zv::test
