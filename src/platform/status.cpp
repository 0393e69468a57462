#include "platform/status.h"

#include <cstring>

namespace zv {

QString StatusText(Status status) {
    const auto code = static_cast<std::uint32_t>(status);
    QString text = QStringLiteral("0x%1").arg(code, 8, 16, QLatin1Char('0'));
    if ((code & 0xFFFF0000u) == 0x80070000u) {
        const int error = static_cast<int>(code & 0xFFFFu);
        text += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    return text;
}

}  // namespace zv
