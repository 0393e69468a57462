#include "app/film_advance_option.h"

#include <cmath>

namespace zv {
namespace {

constexpr double kMaxSeconds = 3600.0;

}  // namespace

QCommandLineOption SimulatedScannerOption() {
    return QCommandLineOption(
        QStringLiteral("simulated-scanner"),
        QStringLiteral("Use the built-in simulated film scanner instead of real hardware."));
}

QCommandLineOption FilmAdvanceOption() {
    return QCommandLineOption(
        QStringLiteral("simulated-film-advance"),
        QStringLiteral("With --simulated-scanner: the film moves on by one frame every <seconds> "
                       "(above 0, at most 3600, decimals allowed)."),
        QStringLiteral("seconds"));
}

std::optional<std::chrono::milliseconds> ParseFilmAdvance(const QString& value) {
    if (value.isEmpty()) {
        return std::chrono::milliseconds{0};
    }
    return ParseSeconds(value);
}

std::optional<std::chrono::milliseconds> ParseSeconds(const QString& value) {
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    // toDouble takes "inf" and "nan"; a frame every 0.4 ms rounds to no advance at all.
    if (!ok || !std::isfinite(seconds) || seconds > kMaxSeconds) {
        return std::nullopt;
    }
    const auto interval = std::chrono::milliseconds(std::llround(seconds * 1000.0));
    return interval.count() > 0 ? std::optional(interval) : std::nullopt;
}

QString FilmAdvanceProblem(const QCommandLineParser& parser, const QCommandLineOption& advance,
                           const QCommandLineOption& simulated) {
    const QString value = parser.value(advance);
    if (!ParseFilmAdvance(value)) {
        return QStringLiteral(
                   "--simulated-film-advance must be a number of seconds above 0 and "
                   "at most 3600, not '%1'")
            .arg(value);
    }
    if (parser.isSet(advance) && !parser.isSet(simulated)) {
        return QStringLiteral("--simulated-film-advance needs --simulated-scanner");
    }
    return {};
}

}  // namespace zv
