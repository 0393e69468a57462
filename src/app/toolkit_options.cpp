#include "app/toolkit_options.h"

#include <QCommandLineParser>

#include <array>
#include <cstdio>

namespace zv {
namespace {

struct ToolkitOption {
    const char* name;
    const char* value;  // the value's name, or null for a switch
    const char* description;
};

constexpr std::array<ToolkitOption, 14> kToolkitOptions = {{
    {"platform", "name", "Window system plugin to use (xcb, wayland, offscreen, ...)."},
    {"platformpluginpath", "path", "Folder to load window system plugins from."},
    {"platformtheme", "name", "Desktop theme plugin to use."},
    {"plugin", "name", "Extra input plugin to load."},
    {"display", "name", "X display to connect to."},
    {"geometry", "geometry", "Window position and size, as in -qwindowgeometry."},
    {"qwindowgeometry", "geometry", "Window position and size (WxH+X+Y)."},
    {"qwindowicon", "file", "Window icon."},
    {"qwindowtitle", "title", "Window title."},
    {"session", "id", "Session to restore."},
    {"style", "name", "Widget style (Fusion, Windows, ...)."},
    {"stylesheet", "file", "Style sheet for the widgets."},
    {"reverse", nullptr, "Right-to-left layout."},
    {"widgetcount", nullptr, "Print the number of widgets left at exit."},
}};

// The option `argument` names ("-style", "--style", "-style=fusion"), or null.
const ToolkitOption* Find(const QString& argument, bool* valueAttached) {
    if (!argument.startsWith(QLatin1Char('-'))) {
        return nullptr;
    }
    QString name = argument.mid(argument.startsWith(QStringLiteral("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    *valueAttached = equals >= 0;
    if (*valueAttached) {
        name.truncate(equals);
    }
    for (const ToolkitOption& option : kToolkitOptions) {
        if (name == QLatin1String(option.name)) {
            return &option;
        }
    }
    return nullptr;
}

// The parser's help for `usage`; with the toolkit's options too when `all`.
QString HelpText(const QCommandLineParser& parser, const QString& usage, bool all) {
    // The parser's own usage line names the running application, and none runs yet.
    QString text = parser.helpText();
    text.replace(0, text.indexOf(QLatin1Char('\n')), QStringLiteral("Usage: ") + usage);
    if (!all) {
        return text;
    }
    text += QStringLiteral("\nToolkit options:\n");
    for (const ToolkitOption& option : kToolkitOptions) {
        QString form = QStringLiteral("-%1").arg(QLatin1String(option.name));
        if (option.value != nullptr) {
            form += QStringLiteral(" <%1>").arg(QLatin1String(option.value));
        }
        text += QStringLiteral("  %1 %2\n").arg(form, -30).arg(QLatin1String(option.description));
    }
    return text;
}

}  // namespace

QStringList WithoutToolkitOptions(const QStringList& arguments) {
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        bool valueAttached = false;
        const ToolkitOption* option = i > 0 ? Find(arguments[i], &valueAttached) : nullptr;
        if (option == nullptr) {
            kept << arguments[i];
        } else if (option->value != nullptr && !valueAttached) {
            ++i;  // its value
        }
    }
    return kept;
}

bool PrintHelpIfAsked(const QCommandLineParser& parser, const QCommandLineOption& help,
                      const QString& usage) {
    const bool all = parser.isSet(QStringLiteral("help-all"));
    if (!parser.isSet(help) && !all) {
        return false;
    }
    std::fputs(qPrintable(HelpText(parser, usage, all)), stdout);
    return true;
}

int UsageError(const char* command, const QString& message) {
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", command, qPrintable(message), command);
    return 2;
}

}  // namespace zv
