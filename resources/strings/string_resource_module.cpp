#include "resources/strings/string_resource_module.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace zv {
namespace {

struct PendingBlock {
    std::array<std::u16string_view, StringResourceModule::kStringsPerBlock> strings{};
    std::array<bool, StringResourceModule::kStringsPerBlock> present{};
};

std::vector<char16_t> PackBlock(const PendingBlock& pending) {
    std::vector<char16_t> data;
    for (std::u16string_view text : pending.strings) {
        data.push_back(static_cast<char16_t>(text.size()));
        data.insert(data.end(), text.begin(), text.end());
    }
    return data;
}

}  // namespace

bool StringResourceModule::AddTable(const StringTable& table) {
    std::map<std::uint16_t, PendingBlock> pending;
    for (const StringTableEntry& entry : table.entries) {
        if (entry.id > kMaxStringId || entry.text.size() > kMaxStringLength) {
            return false;
        }
        PendingBlock& block = pending[static_cast<std::uint16_t>(BlockOf(entry.id))];
        const std::uint32_t position = PositionOf(entry.id);
        if (block.present[position]) {
            return false;
        }
        block.present[position] = true;
        block.strings[position] = entry.text;
    }
    for (const auto& [number, block] : pending) {
        if (m_blocks.contains({table.language, number})) {
            return false;
        }
    }
    for (const auto& [number, block] : pending) {
        Insert(table.language, number, PackBlock(block));
    }
    return true;
}

bool StringResourceModule::AddBlock(std::uint16_t language, std::uint16_t block,
                                    std::vector<char16_t> data) {
    if (block == 0 || m_blocks.contains({language, block}) || !IsWellFormedBlock(data)) {
        return false;
    }
    Insert(language, block, std::move(data));
    return true;
}

std::span<const char16_t> StringResourceModule::Find(std::uint16_t block,
                                                     std::uint16_t language) const {
    const auto found = m_blocks.find({language, block});
    if (found == m_blocks.end()) {
        return {};
    }
    return found->second;
}

bool StringResourceModule::IsWellFormedBlock(std::span<const char16_t> data) {
    std::size_t at = 0;
    for (std::size_t position = 0; position < kStringsPerBlock; ++position) {
        if (at >= data.size()) {
            return false;
        }
        at += 1 + static_cast<std::size_t>(data[at]);
    }
    return at == data.size();
}

void StringResourceModule::Insert(std::uint16_t language, std::uint16_t block,
                                  std::vector<char16_t> data) {
    m_blocks.emplace(std::pair{language, block}, std::move(data));
    if (std::find(m_languages.begin(), m_languages.end(), language) == m_languages.end()) {
        m_languages.push_back(language);
    }
}

}  // namespace zv
