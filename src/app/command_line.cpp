#include "app/command_line.h"

#include "app/toolkit_options.h"

#include <QCommandLineParser>

#include <cstdio>

namespace zv {

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Desktop front end of the USB film scanner: live preview, film type, film size,\n"
        "resolution and picture adjustments, and Scan to save full-resolution JPEG files.\n"
        "Run 'zevuvora scan --help' for scanning without a display."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral(
            "Initialise the window, render it into <file> (PNG) and exit (no display needed)."),
        QStringLiteral("file"));
    parser.addOption(screenshot);
    const QCommandLineOption simulated(
        QStringLiteral("simulated-scanner"),
        QStringLiteral("Use the built-in simulated film scanner instead of real hardware."));
    parser.addOption(simulated);

    CommandLine result;
    if (!parser.parse(WithoutToolkitOptions(arguments))) {
        std::fprintf(stderr, "zevuvora: %s\nTry 'zevuvora --help'.\n",
                     qPrintable(parser.errorText()));
        result.exitStatus = 2;
        return result;
    }
    const bool helpAll = parser.isSet(QStringLiteral("help-all"));
    if (parser.isSet(help) || helpAll) {
        std::fputs(qPrintable(HelpText(parser, QStringLiteral("zevuvora [options]"), helpAll)),
                   stdout);
        result.exitStatus = 0;
        return result;
    }
    if (parser.isSet(version)) {
        std::printf("zevuvora %s\n", ZEVUVORA_VERSION);
        result.exitStatus = 0;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "zevuvora: unexpected argument '%s'\nTry 'zevuvora --help'.\n",
                     qPrintable(parser.positionalArguments().first()));
        result.exitStatus = 2;
        return result;
    }
    result.screenshotPath = parser.value(screenshot);
    result.simulatedScanner = parser.isSet(simulated);
    return result;
}

}  // namespace zv
