#pragma once

#include <cstdint>
#include <string>

namespace zv {

// The locale that names the language of messages, in the POSIX order: LC_ALL, then LC_MESSAGES,
// then LANG, the first that is set and not empty; "" when none is.
std::string UserMessagesLocale();

// Takes the user's default language from the environment (UserMessagesLocale mapped by
// LangIdFromLocale) and makes it the selected language as well. Called once at process start,
// before any window exists and before other threads run (it reads the environment).
void InitUserDefaultLanguage();

// The user's default language identifier, as taken at process start. Should nothing have taken
// it yet, it is taken from the environment on this first call (without touching the selected
// language). Any thread may call it.
std::uint16_t GetUserDefaultLangID();

}  // namespace zv
