#include "platform/v4l2/device_path.h"

#include <cctype>
#include <charconv>

namespace zv::v4l2 {

namespace {

bool AllDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) == 0) {
            return false;
        }
    }
    return true;
}

bool ParseNumber(std::string_view text, int* value) {
    if (!AllDigits(text) || text.size() > 3) {
        return false;
    }
    return std::from_chars(text.data(), text.data() + text.size(), *value).ec == std::errc{};
}

// "1-1.4" : bus number, dash, port numbers joined by dots.
bool IsPortPath(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos || !AllDigits(text.substr(0, dash))) {
        return false;
    }
    std::string_view ports = text.substr(dash + 1);
    while (true) {
        const std::size_t dot = ports.find('.');
        if (!AllDigits(ports.substr(0, dot))) {
            return false;
        }
        if (dot == std::string_view::npos) {
            return true;
        }
        ports = ports.substr(dot + 1);
    }
}

bool ParseComponent(std::string_view component, UsbInterfaceLocation* location) {
    const std::size_t colon = component.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view port = component.substr(0, colon);
    const std::string_view rest = component.substr(colon + 1);
    const std::size_t dot = rest.find('.');
    int configuration = 0;
    int interface = 0;
    if (!IsPortPath(port) || dot == std::string_view::npos ||
        !ParseNumber(rest.substr(0, dot), &configuration) ||
        !ParseNumber(rest.substr(dot + 1), &interface)) {
        return false;
    }
    location->portPath = std::string(port);
    location->configurationValue = configuration;
    location->interfaceNumber = interface;
    return true;
}

QString Hex4(std::uint16_t value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

}  // namespace

QString BuildDevicePath(const V4l2NodeInfo& info) {
    const QString node = QString::fromStdString(info.devnode);
    if (!info.usb) {
        return QStringLiteral("v4l2#nousb#") + node;
    }
    QString path = QStringLiteral("v4l2#vid_") + Hex4(info.vendorId) + QStringLiteral("&pid_") +
                   Hex4(info.productId);
    if (info.interfaceNumber >= 0) {
        path += QStringLiteral("&mi_%1").arg(info.interfaceNumber, 2, 16, QLatin1Char('0'));
    }
    return path + QLatin1Char('#') + QString::fromStdString(info.portPath) + QLatin1Char('#') +
           node;
}

bool ParseUsbInterfaceLocation(std::string_view syspath, UsbInterfaceLocation* location) {
    bool found = false;
    UsbInterfaceLocation last;
    std::size_t start = 0;
    while (start <= syspath.size()) {
        const std::size_t slash = syspath.find('/', start);
        const std::size_t end = slash == std::string_view::npos ? syspath.size() : slash;
        UsbInterfaceLocation candidate;
        if (ParseComponent(syspath.substr(start, end - start), &candidate)) {
            last = candidate;
            found = true;
        }
        if (slash == std::string_view::npos) {
            break;
        }
        start = slash + 1;
    }
    if (found) {
        *location = last;
    }
    return found;
}

}  // namespace zv::v4l2
