#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>

#include <chrono>
#include <optional>

namespace zv {

// --simulated-scanner: the built-in simulated film scanner instead of real hardware. Shared by the
// window program's and the scan command's parsers.
QCommandLineOption SimulatedScannerOption();

// --simulated-film-advance SECONDS: the simulated film moves on by itself every SECONDS. Shared
// by the window program's and the scan command's parsers.
QCommandLineOption FilmAdvanceOption();

// A number of seconds above 0 and at most an hour, decimals allowed ("2", "0.5"); nothing for
// anything else, the empty text included.
std::optional<std::chrono::milliseconds> ParseSeconds(const QString& value);

// The interval `value` names: a number of seconds above 0 and at most an hour, decimals allowed
// ("2", "0.5"); nothing for anything else. The empty text (option not given) is a zero interval:
// the film moves only by hand.
std::optional<std::chrono::milliseconds> ParseFilmAdvance(const QString& value);

// What is wrong with the film advance `parser` read: a value ParseFilmAdvance refuses, or the
// option without `simulated` (real film moves only by hand); empty when nothing is.
QString FilmAdvanceProblem(const QCommandLineParser& parser, const QCommandLineOption& advance,
                           const QCommandLineOption& simulated);

}  // namespace zv
