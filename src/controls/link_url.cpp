#include "controls/link_url.h"

namespace zv {
namespace {

std::optional<QUrl> WebUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    const QUrl url = QUrl::fromUserInput(trimmed);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        return std::nullopt;
    }
    return url;
}

std::optional<QUrl> MailUrl(const QString& address) {
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    // As a decoded path, "?" and "#" stay part of the address instead of starting a query.
    url.setPath(trimmed, QUrl::DecodedMode);
    if (!url.isValid()) {
        return std::nullopt;
    }
    return url;
}

}  // namespace

std::optional<QUrl> LabelLinkUrl(LabelLinkKind kind, const QString& target, const QString& text) {
    switch (kind) {
        case LabelLinkKind::kWeb:
            return WebUrl(target.isEmpty() ? text : target);
        case LabelLinkKind::kMail:
            return MailUrl(text);
        case LabelLinkKind::kNone:
            break;
    }
    return std::nullopt;
}

}  // namespace zv
