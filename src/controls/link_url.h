#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace zv {

// What a click on a label opens.
enum class LabelLinkKind { kNone = 0, kWeb = 1, kMail = 2 };

// The address a click on a link label opens, or none.
// A web link opens its target, or the label's text when the target is empty, as typed into a
// browser ("example.com" is http://example.com); only http and https addresses are opened, so a
// label's text can never start a program or open a local file.
// A mail link opens "mailto:" followed by the label's text; the text is the address and nothing
// more: "?" and "#" in it are escaped, so it cannot add headers, a body or attachments.
// No link, and a text or target that makes no address, open nothing.
std::optional<QUrl> LabelLinkUrl(LabelLinkKind kind, const QString& target, const QString& text);

}  // namespace zv
