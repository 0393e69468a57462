#include "app/scan_options.h"

#include "app/film_advance_option.h"
#include "app/toolkit_options.h"

#include <QCommandLineParser>

#include <cstdio>

namespace zv {
namespace {

constexpr int kMaxCount = 100000;

// The index of `value` in `choices`, or nothing.
std::optional<int> IndexOf(const QString& value, const QStringList& choices) {
    const auto index = choices.indexOf(value);
    return index < 0 ? std::nullopt : std::optional<int>(static_cast<int>(index));
}

std::optional<int> PositiveNumber(const QString& value, int max) {
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok && number >= 1 && number <= max ? std::optional<int>(number) : std::nullopt;
}

// --wait auto|enter|SECONDS; nothing for anything else.
std::optional<FrameWaitOption> ParseFrameWait(const QString& value) {
    using Kind = FrameWaitOption::Kind;
    if (value == QLatin1String("auto")) {
        return FrameWaitOption{Kind::kSettle, {}};
    }
    if (value == QLatin1String("enter")) {
        return FrameWaitOption{Kind::kEnter, {}};
    }
    if (const auto time = ParseSeconds(value)) {
        return FrameWaitOption{Kind::kTime, *time};
    }
    return std::nullopt;
}

// What is wrong with --wait and --auto as `parser` read them; empty when nothing is, with the
// wait asked for in `frameWait`.
QString FrameWaitProblem(const QCommandLineParser& parser, const QCommandLineOption& wait,
                         const QCommandLineOption& autoWait, FrameWaitOption* frameWait) {
    if (parser.isSet(wait)) {
        const auto parsed = ParseFrameWait(parser.value(wait));
        if (!parsed) {
            return QStringLiteral(
                       "--wait must be auto, enter or a number of seconds above 0 and "
                       "at most 3600, not '%1'")
                .arg(parser.value(wait));
        }
        *frameWait = *parsed;
    }
    if (parser.isSet(autoWait)) {
        if (parser.isSet(wait) && frameWait->kind != FrameWaitOption::Kind::kSettle) {
            return QStringLiteral("--auto and --wait %1 ask for different waits")
                .arg(parser.value(wait));
        }
        frameWait->kind = FrameWaitOption::Kind::kSettle;
    }
    return {};
}

ParsedScan Fail(const QString& message) {
    ParsedScan parsed;
    parsed.exitStatus = UsageError("zevuvora scan", message);
    return parsed;
}

}  // namespace

ParsedScan ParseScanCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Scans film without a display: connects the film scanner, applies the film type, film\n"
        "size and resolution, presses Scan N times and prints the path of each saved JPEG file."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption film(
        QStringLiteral("film"), QStringLiteral("Film type: slide, negative or bw (default slide)."),
        QStringLiteral("type"), QStringLiteral("slide"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Film size: 135 or 126 (default 135)."),
                                  QStringLiteral("size"), QStringLiteral("135"));
    const QCommandLineOption resolution(
        QStringLiteral("resolution"),
        QStringLiteral("Output resolution: low or high (135: 2592x1728 or 5184x3456; "
                       "126: 1497x1497 or 2995x2995; default low)."),
        QStringLiteral("level"), QStringLiteral("low"));
    const QCommandLineOption out(
        QStringLiteral("out"),
        QStringLiteral("Folder to write the files to; its last level is created when missing "
                       "(default: the ZevuVora folder in your Pictures folder, created with "
                       "its parents)."),
        QStringLiteral("dir"));
    const QCommandLineOption count(QStringLiteral("count"),
                                   QStringLiteral("Number of frames to scan (default 1)."),
                                   QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption timeout(
        QStringLiteral("timeout-ms"),
        QStringLiteral("How long to wait for each frame, in milliseconds (default 10000)."),
        QStringLiteral("ms"), QStringLiteral("10000"));
    const QCommandLineOption wait(
        QStringLiteral("wait"),
        QStringLiteral("Before each frame after the first: 'auto' waits for the film to come to "
                       "rest in the preview (the first frame too), 'enter' for a line on standard "
                       "input (its end ends the run), a number of seconds (above 0, at most "
                       "3600) waits that long. Default: no wait."),
        QStringLiteral("how"));
    const QCommandLineOption autoWait(QStringLiteral("auto"),
                                      QStringLiteral("The same as --wait auto."));
    const QCommandLineOption simulated = SimulatedScannerOption();
    const QCommandLineOption verbose(
        QStringLiteral("verbose"), QStringLiteral("Add the status code to every failure reason."));
    const QCommandLineOption advance = FilmAdvanceOption();
    const QCommandLineOption remember(
        QStringLiteral("remember-settings"),
        QStringLiteral("Store the folder, film size and resolution of this run as the window's "
                       "saved choices (by default a scan leaves them alone)."));
    parser.addOptions({film, size, resolution, out, count, timeout, wait, autoWait, simulated,
                       advance, remember, verbose});

    QStringList withoutVerb = WithoutToolkitOptions(arguments);
    if (withoutVerb.size() >= 2) {
        withoutVerb.removeAt(1);  // "scan"
    }
    if (!parser.parse(withoutVerb)) {
        return Fail(parser.errorText());
    }
    ParsedScan parsed;
    if (PrintHelpIfAsked(parser, help, QStringLiteral("zevuvora scan [options]"))) {
        parsed.exitStatus = 0;
        return parsed;
    }
    if (parser.isSet(version)) {
        std::printf("zevuvora %s\n", ZEVUVORA_VERSION);
        parsed.exitStatus = 0;
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return Fail(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    }

    ScanOptions& options = parsed.options;
    const auto filmIndex =
        IndexOf(parser.value(film),
                {QStringLiteral("slide"), QStringLiteral("negative"), QStringLiteral("bw")});
    const auto sizeIndex =
        IndexOf(parser.value(size), {QStringLiteral("135"), QStringLiteral("126")});
    const auto resolutionIndex =
        IndexOf(parser.value(resolution), {QStringLiteral("low"), QStringLiteral("high")});
    const auto frames = PositiveNumber(parser.value(count), kMaxCount);
    const auto timeoutMs = PositiveNumber(parser.value(timeout), 24 * 60 * 60 * 1000);
    if (!filmIndex) {
        return Fail(QStringLiteral("--film must be slide, negative or bw, not '%1'")
                        .arg(parser.value(film)));
    }
    if (!sizeIndex) {
        return Fail(QStringLiteral("--size must be 135 or 126, not '%1'").arg(parser.value(size)));
    }
    if (!resolutionIndex) {
        return Fail(QStringLiteral("--resolution must be low or high, not '%1'")
                        .arg(parser.value(resolution)));
    }
    if (!frames) {
        return Fail(QStringLiteral("--count must be a whole number from 1 to %1, not '%2'")
                        .arg(kMaxCount)
                        .arg(parser.value(count)));
    }
    if (!timeoutMs) {
        return Fail(QStringLiteral("--timeout-ms must be a positive whole number, not '%1'")
                        .arg(parser.value(timeout)));
    }
    FrameWaitOption frameWait;
    if (const QString problem = FrameWaitProblem(parser, wait, autoWait, &frameWait);
        !problem.isEmpty()) {
        return Fail(problem);
    }
    if (const QString problem = FilmAdvanceProblem(parser, advance, simulated);
        !problem.isEmpty()) {
        return Fail(problem);
    }
    if (parser.isSet(out) && parser.value(out).isEmpty()) {
        return Fail(QStringLiteral("--out needs a folder"));
    }
    options.filmTypeIndex = *filmIndex;
    options.filmSizeIndex = *sizeIndex;
    options.resolutionIndex = *resolutionIndex;
    options.count = *frames;
    options.timeoutMs = *timeoutMs;
    options.wait = frameWait;
    options.outputFolder = parser.value(out);
    options.simulatedScanner = parser.isSet(simulated);
    options.filmAdvance =
        ParseFilmAdvance(parser.value(advance)).value_or(std::chrono::milliseconds{0});
    options.rememberSettings = parser.isSet(remember);
    options.verbose = parser.isSet(verbose);
    return parsed;
}

}  // namespace zv
