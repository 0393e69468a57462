#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zv {

// A 16-byte identifier in the platform's GUID layout: one 32-bit, two 16-bit fields and eight
// bytes. Identifies media types, format types, pin categories and property sets. A plain value,
// usable from any thread.
struct Guid {
    std::uint32_t data1 = 0;
    std::uint16_t data2 = 0;
    std::uint16_t data3 = 0;
    std::array<std::uint8_t, 8> data4{};

    friend constexpr bool operator==(const Guid&, const Guid&) = default;

    constexpr bool IsNull() const { return *this == Guid{}; }

    // "{1229A78C-47B4-4094-B0CE-DB07386FB938}", upper-case hex as the platform writes it.
    QString ToString() const {
        QString text = QStringLiteral("{%1-%2-%3-")
                           .arg(data1, 8, 16, QLatin1Char('0'))
                           .arg(data2, 4, 16, QLatin1Char('0'))
                           .arg(data3, 4, 16, QLatin1Char('0'));
        for (std::size_t i = 0; i < data4.size(); ++i) {
            if (i == 2) {
                text += QLatin1Char('-');
            }
            text += QStringLiteral("%1").arg(data4[i], 2, 16, QLatin1Char('0'));
        }
        return text.toUpper() + QLatin1Char('}');
    }
};

}  // namespace zv
