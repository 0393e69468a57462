#include "settings/string_lookup.h"

#include "resources/strings/built_in_string_module.h"
#include "settings/lang_id.h"
#include "settings/last_error.h"
#include "settings/selected_language.h"
#include "settings/user_default_language.h"

#include <algorithm>

namespace zv {
namespace {

// The table stored under exactly `language`, else under its primary language alone.
std::span<const char16_t> FindInLanguage(const StringResourceModule& module, std::uint16_t block,
                                         std::uint16_t language) {
    std::span<const char16_t> data = module.Find(block, language);
    if (data.empty() && SubLangId(language) != 0) {
        data = module.Find(block, PrimaryLangId(language));
    }
    return data;
}

std::span<const char16_t> FindLanguageNeutral(const StringResourceModule& module,
                                              std::uint16_t block) {
    std::span<const char16_t> data = module.Find(block, kLangEnglishUs);
    for (std::uint16_t language : module.Languages()) {
        if (!data.empty()) {
            break;
        }
        data = module.Find(block, language);
    }
    return data;
}

}  // namespace

std::span<const char16_t> FindStringBlock(const StringResourceModule* module, std::uint32_t block) {
    if (block == 0 || block > 0xFFFF) {
        return {};
    }
    const StringResourceModule& tables = module != nullptr ? *module : BuiltInStringModule();
    const auto number = static_cast<std::uint16_t>(block);

    const std::uint16_t selected = GetSelectedLanguage();
    std::span<const char16_t> data = FindInLanguage(tables, number, selected);
    const std::uint16_t userDefault = GetUserDefaultLangID();
    if (data.empty() && userDefault != selected) {
        data = FindInLanguage(tables, number, userDefault);
    }
    if (data.empty()) {
        data = FindLanguageNeutral(tables, number);
    }
    return data;
}

int LoadLocalisedString(const StringResourceModule* module, std::uint32_t id,
                        std::span<char16_t, kLocalisedStringBufferSize> buffer) {
    // Checked on the identifier itself rather than on id + 16 in 32-bit arithmetic, so that the
    // identifiers whose sum wraps round (0xFFFFFFF0 and above) are refused the same way.
    if (id > StringResourceModule::kMaxStringId) {
        SetLastError(kErrorResourceNameNotFound);
        return 0;
    }
    const std::span<const char16_t> block =
        FindStringBlock(module, StringResourceModule::BlockOf(id));
    if (block.empty()) {
        return 0;
    }
    // Blocks are well formed (the module checks them), so the walk stays inside the data.
    std::size_t at = 0;
    for (std::uint32_t position = 0; position < StringResourceModule::PositionOf(id); ++position) {
        at += 1 + static_cast<std::size_t>(block[at]);
    }
    const std::size_t count = block[at];
    if (count == 0) {
        return 0;
    }
    const std::size_t copied = std::min(count, kMaxLocalisedStringLength);
    std::copy_n(block.begin() + static_cast<std::ptrdiff_t>(at + 1), copied, buffer.begin());
    buffer[copied] = u'\0';
    return static_cast<int>(copied);
}

}  // namespace zv
