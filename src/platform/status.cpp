#include "platform/status.h"

#include <array>
#include <cstring>
#include <utility>

namespace zv {
namespace {

// Codes that have a meaning of their own; their low bits must not be read as an errno (0x57, say,
// is also EUSERS). Codes whose low bits are a likely errno of a file write stay errno-read.
constexpr std::array<std::pair<Status, const char*>, 10> kNamedStatus = {{
    {kFail, "unspecified failure"},
    {kPointer, "invalid pointer"},
    {kNoInterface, "not supported"},
    {kNotImplemented, "not implemented"},
    {kUnexpected, "unexpected failure"},
    {kOutOfMemory, "out of memory"},
    {kInvalidArg, "invalid argument"},
    {kSharingViolation, "device is in use by another program"},
    {kNoSystemResources, "insufficient system resources"},
    {kNotFound, "not found"},
}};

}  // namespace

QString StatusText(Status status) {
    const auto code = static_cast<std::uint32_t>(status);
    QString text = QStringLiteral("0x%1").arg(code, 8, 16, QLatin1Char('0'));
    for (const auto& [named, meaning] : kNamedStatus) {
        if (named == status) {
            return text + QStringLiteral(" (%1)").arg(QLatin1String(meaning));
        }
    }
    if ((code & 0xFFFF0000u) == 0x80070000u) {
        const int error = static_cast<int>(code & 0xFFFFu);
        text += QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
    }
    return text;
}

}  // namespace zv
