#include "app/film_advance_option.h"

#include "app/command_line.h"
#include "app/scan_options.h"

#include <gtest/gtest.h>

namespace zv {
namespace {

using std::chrono::milliseconds;

struct AdvanceCase {
    const char* value;
    std::optional<milliseconds> interval;
};

constexpr AdvanceCase kAdvanceCases[] = {
    {"", milliseconds{0}},  // not given: the film moves only by hand
    {"2", milliseconds{2000}},
    {"0.25", milliseconds{250}},
    {"3600", milliseconds{3600000}},
    {"0", std::nullopt},
    {"-1", std::nullopt},
    {"0.0001", std::nullopt},  // rounds to no interval at all
    {"3601", std::nullopt},
    {"inf", std::nullopt},
    {"nan", std::nullopt},
    {"2s", std::nullopt},
};

class FilmAdvanceValue : public testing::TestWithParam<AdvanceCase> {};

TEST_P(FilmAdvanceValue, IsASecondsCountAboveZeroUpToAnHour) {
    EXPECT_EQ(ParseFilmAdvance(QString::fromLatin1(GetParam().value)), GetParam().interval);
}

INSTANTIATE_TEST_SUITE_P(Values, FilmAdvanceValue, testing::ValuesIn(kAdvanceCases));

// Both programs take the option the same way: with the simulated scanner only, a bad value
// ending the run with status 2.
struct CommandCase {
    QStringList arguments;  // after the program name (and "scan")
    std::optional<int> exitStatus;
    milliseconds interval;
    bool remember;
};

class FilmAdvanceCommandLine : public testing::TestWithParam<CommandCase> {};

TEST_P(FilmAdvanceCommandLine, WindowAndScanCommandAgree) {
    const CommandCase& c = GetParam();
    const CommandLine window =
        ParseCommandLine(QStringList{QStringLiteral("zevuvora")} + c.arguments);
    const ParsedScan scan = ParseScanCommandLine(
        QStringList{QStringLiteral("zevuvora"), QStringLiteral("scan")} + c.arguments);
    EXPECT_EQ(window.exitStatus, c.exitStatus);
    EXPECT_EQ(scan.exitStatus, c.exitStatus);
    if (!c.exitStatus) {
        EXPECT_EQ(window.filmAdvance, c.interval);
        EXPECT_EQ(scan.options.filmAdvance, c.interval);
        EXPECT_EQ(window.rememberSettings, c.remember);
        EXPECT_EQ(scan.options.rememberSettings, c.remember);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, FilmAdvanceCommandLine,
    testing::Values(
        CommandCase{{QStringLiteral("--simulated-scanner")}, std::nullopt, milliseconds{0}, false},
        CommandCase{
            {QStringLiteral("--simulated-scanner"), QStringLiteral("--simulated-film-advance"),
             QStringLiteral("1.5"), QStringLiteral("--remember-settings")},
            std::nullopt,
            milliseconds{1500},
            true},
        CommandCase{
            {QStringLiteral("--simulated-scanner"), QStringLiteral("--simulated-film-advance=0")},
            2,
            milliseconds{0},
            false},
        CommandCase{{QStringLiteral("--simulated-film-advance"), QStringLiteral("2")},
                    2,
                    milliseconds{0},
                    false}));

}  // namespace
}  // namespace zv
