#include "app/command_line.h"

#include "app/film_advance_option.h"
#include "app/toolkit_options.h"

#include <QCommandLineParser>

#include <cstdio>

namespace zv {
namespace {

// More would only take longer: the picture shows the last few.
constexpr int kMaxScreenshotScans = 20;

CommandLine Fail(const QString& message) {
    CommandLine result;
    result.exitStatus = UsageError("zevuvora", message);
    return result;
}

}  // namespace

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
    const QCommandLineOption screenshotScans(
        QStringLiteral("screenshot-scans"),
        QStringLiteral("With --screenshot: scan <count> frames first (the simulated film moves on "
                       "between them), so that the picture shows the last scans."),
        QStringLiteral("count"));
    parser.addOption(screenshotScans);
    const QCommandLineOption simulated = SimulatedScannerOption();
    parser.addOption(simulated);
    const QCommandLineOption advance = FilmAdvanceOption();
    parser.addOption(advance);
    const QCommandLineOption remember(
        QStringLiteral("remember-settings"),
        QStringLiteral("With --simulated-scanner: store the save folder, film size and resolution "
                       "chosen, as a run on real hardware does."));
    parser.addOption(remember);

    CommandLine result;
    if (!parser.parse(WithoutToolkitOptions(arguments))) {
        return Fail(parser.errorText());
    }
    if (PrintHelpIfAsked(parser, help, QStringLiteral("zevuvora [options]"))) {
        result.exitStatus = 0;
        return result;
    }
    if (parser.isSet(version)) {
        std::printf("zevuvora %s\n", ZEVUVORA_VERSION);
        result.exitStatus = 0;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Fail(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }
    if (const QString problem = FilmAdvanceProblem(parser, advance, simulated);
        !problem.isEmpty()) {
        return Fail(problem);
    }
    result.screenshotPath = parser.value(screenshot);
    if (parser.isSet(screenshotScans)) {
        bool ok = false;
        result.screenshotScans = parser.value(screenshotScans).toInt(&ok);
        if (!ok || result.screenshotScans < 0 || result.screenshotScans > kMaxScreenshotScans) {
            return Fail(QStringLiteral("--screenshot-scans must be a count from 0 to %1, not '%2'")
                            .arg(kMaxScreenshotScans)
                            .arg(parser.value(screenshotScans)));
        }
        if (result.screenshotPath.isEmpty()) {
            return Fail(QStringLiteral("--screenshot-scans needs --screenshot"));
        }
    }
    result.simulatedScanner = parser.isSet(simulated);
    result.filmAdvance =
        ParseFilmAdvance(parser.value(advance)).value_or(std::chrono::milliseconds{0});
    result.rememberSettings = parser.isSet(remember);
    return result;
}

}  // namespace zv
