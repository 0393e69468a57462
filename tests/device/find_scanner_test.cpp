#include "device/find_scanner.h"

#include "device/recording_pause.h"
#include "platform/devices/device_backend.h"
#include "platform/devices/ks_property.h"
#include "platform/devices/scanner_contract.h"
#include "platform/sim/sim_device_bus.h"
#include "platform/sim/sim_device_filter.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

namespace zv {
namespace {

using namespace std::chrono_literals;
using sim::SimDeviceConfig;

SimDeviceConfig Scanner(const char* serial = "SCN0001") {
    return sim::ScannerDevice(QString::fromLatin1(serial));
}

SimDeviceConfig Webcam() {
    return sim::WebcamDevice();
}

template <class Change>
SimDeviceConfig With(SimDeviceConfig config, Change change) {
    change(config);
    return config;
}

SimDeviceConfig Unbindable(SimDeviceConfig config) {
    config.bindResult = MakeStatus(0x8007001F);
    return config;
}

// A path of `length` characters that holds the scanner's identifiers near its end.
QString LongScannerPath(int length) {
    const QString tail = QStringLiteral("#vid_8888&pid_0001#LONG");
    return QString(length - tail.size(), QLatin1Char('x')) + tail;
}

using MatchOf = std::function<std::optional<QString>(const std::vector<SimDeviceConfig>&)>;

MatchOf NoMatch() {
    return [](const auto&) { return std::nullopt; };
}

MatchOf Match(std::function<QString(const std::vector<SimDeviceConfig>&)> path) {
    return [path](const auto& devices) { return std::optional<QString>(path(devices)); };
}

struct FindCase {
    const char* name;
    std::function<std::vector<SimDeviceConfig>()> devices;
    MatchOf match;
    // Index of the device found, -1 for none.
    int expected;
};

class FindScannerTest : public testing::TestWithParam<FindCase> {
protected:
    sim::SimDeviceBus bus;
    test::RecordingPause pause;
};

TEST_P(FindScannerTest, FindsTheExpectedDevice) {
    const std::vector<SimDeviceConfig> configs = GetParam().devices();
    for (const SimDeviceConfig& config : configs) {
        ASSERT_NE(bus.Plug(config, false), nullptr);
    }
    const auto plugged = bus.Devices();

    const auto sentinel = sim::SimDeviceFilter::Create(Webcam());
    std::shared_ptr<media::Filter> filter = sentinel;
    QString path = QStringLiteral("untouched");
    const bool found =
        FindScanner(bus, GetParam().match(configs), &path, &filter, pause.Function());

    ASSERT_EQ(found, GetParam().expected >= 0);
    if (found) {
        const auto& expected = plugged[static_cast<std::size_t>(GetParam().expected)];
        EXPECT_EQ(filter, expected);
        EXPECT_EQ(path, configs[static_cast<std::size_t>(GetParam().expected)].devicePath);
    } else {
        EXPECT_EQ(filter, sentinel);
        EXPECT_EQ(path, QStringLiteral("untouched"));
    }
    // Discovery keeps nothing of any device: every extension unit was closed, every filter
    // released but the one handed out.
    for (std::size_t i = 0; i < plugged.size(); ++i) {
        const long held = found && filter == plugged[i] ? 1 : 0;
        EXPECT_EQ(plugged[i].use_count(), 2 + held) << "device " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindScannerTest,
    testing::Values(
        FindCase{"NoDevices", [] { return std::vector<SimDeviceConfig>{}; }, NoMatch(), -1},
        FindCase{"Scanner", [] { return std::vector{Scanner()}; }, NoMatch(), 0},
        FindCase{"WebcamBeforeScanner",
                 [] {
                     return std::vector{Webcam(), Scanner()};
                 },
                 NoMatch(), 1},
        FindCase{"IdentityRightButPathWrong",
                 [] {
                     return std::vector{With(Scanner(), [](auto& s) {
                         s.devicePath = sim::SimDevicePath(0x8888, 0x0002, QStringLiteral("X"));
                     })};
                 },
                 NoMatch(), -1},
        FindCase{"PathInCapitalLetters",
                 [] {
                     return std::vector{
                         With(Scanner(), [](auto& s) { s.devicePath = s.devicePath.toUpper(); })};
                 },
                 NoMatch(), 0},
        FindCase{"MatchPathDiffersOnlyInCase", [] { return std::vector{Scanner()}; },
                 Match([](const auto& d) { return d[0].devicePath.toUpper(); }), 0},
        FindCase{"MatchPathNamesAnotherDevice",
                 [] {
                     return std::vector{Webcam(), Scanner()};
                 },
                 Match([](const auto& d) { return d[0].devicePath; }), -1},
        FindCase{"MatchPathEmpty", [] { return std::vector{Scanner()}; },
                 Match([](const auto&) { return QString(); }), -1},
        FindCase{"MatchPathNamesTheSecondScanner",
                 [] {
                     return std::vector{Scanner("A"), Scanner("B")};
                 },
                 Match([](const auto& d) { return d[1].devicePath.toUpper(); }), 1},
        FindCase{"TwoScannersFirstInOrderWins",
                 [] {
                     return std::vector{Scanner("A"), Scanner("B")};
                 },
                 NoMatch(), 0},
        FindCase{"UnbindableDeviceBeforeTheScannerEndsTheWalk",
                 [] {
                     return std::vector{Unbindable(Webcam()), Scanner()};
                 },
                 NoMatch(), -1},
        FindCase{"UnbindableDeviceAfterTheScanner",
                 [] {
                     return std::vector{Scanner(), Unbindable(Webcam())};
                 },
                 NoMatch(), 0},
        FindCase{"ReplyWithoutZeroByteIsNotTheScanner",
                 [] {
                     return std::vector{With(Scanner(), [](auto& s) {
                         s.extensionUnits[0].reply = {'R', 'E', 'A', 'L', 'S', 'I', 'L', '!'};
                     })};
                 },
                 NoMatch(), -1},
        FindCase{"FailedIdentificationWriteSkipsTheDevice",
                 [] {
                     return std::vector{
                         With(
                             Scanner("A"),
                             [](auto& s) { s.extensionUnits[0].selectors[0].writeResult = kFail; }),
                         Scanner("B")};
                 },
                 NoMatch(), 1},
        FindCase{"UnreadableDevicePathSkipsTheDevice",
                 [] {
                     return std::vector{
                         With(Scanner("A"), [](auto& s) { s.devicePathResult = kNotFound; }),
                         Scanner("B")};
                 },
                 NoMatch(), 1},
        FindCase{"BadBitmapSizeFailsIdentification",
                 [] {
                     return std::vector{
                         With(Scanner("A"), [](auto& s) { s.extensionUnits[0].bitmapSize = 0; }),
                         Scanner("B")};
                 },
                 NoMatch(), 1},
        FindCase{"UnitThatIsNeverReady",
                 [] {
                     return std::vector{With(Scanner("A"),
                                             [](auto& s) {
                                                 for (auto& sel : s.extensionUnits[0].selectors) {
                                                     sel.notReadyAnswers = 100;
                                                 }
                                             }),
                                        Scanner("B")};
                 },
                 NoMatch(), 1},
        FindCase{"DeviceWithoutTopology",
                 [] {
                     return std::vector{
                         With(Scanner("A"), [](auto& s) { s.hasTopologyInfo = false; }),
                         Scanner("B")};
                 },
                 NoMatch(), 1},
        FindCase{"ScannerOfAnotherInterfaceClassIsNoVideoInput",
                 [] {
                     return std::vector{With(Scanner(), [](auto& s) {
                         s.interfaceClass = devices::kKsNodeTypeDevSpecific;
                     })};
                 },
                 NoMatch(), -1},
        FindCase{"LongDevicePath",
                 [] {
                     return std::vector{
                         With(Scanner(), [](auto& s) { s.devicePath = LongScannerPath(400); })};
                 },
                 NoMatch(), 0},
        FindCase{"LongDevicePathMatchedInAnotherCase",
                 [] {
                     return std::vector{
                         With(Scanner(), [](auto& s) { s.devicePath = LongScannerPath(400); })};
                 },
                 Match([](const auto& d) { return d[0].devicePath.toUpper(); }), 0},
        FindCase{"LongDevicePathMatchedByItsFirst259Characters",
                 [] {
                     return std::vector{
                         With(Scanner(), [](auto& s) { s.devicePath = LongScannerPath(400); })};
                 },
                 Match([](const auto& d) { return d[0].devicePath.left(259); }), -1},
        FindCase{"LongDevicePathDifferingInItsLastCharacter",
                 [] {
                     return std::vector{
                         With(Scanner(), [](auto& s) { s.devicePath = LongScannerPath(400); })};
                 },
                 Match([](const auto& d) { return d[0].devicePath.chopped(1) + 'Y'; }), -1}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(FindScanner, WithoutAFilterPlaceNothingIsEnumerated) {
    sim::SimDeviceBus bus;
    const auto scanner = bus.Plug(Scanner(), false);
    test::RecordingPause pause;
    QString path;
    EXPECT_FALSE(FindScanner(bus, std::nullopt, &path, nullptr, pause.Function()));
    EXPECT_TRUE(scanner->KsRequests().empty());
    EXPECT_EQ(pause.Count(), 0);
}

TEST(FindScanner, WithoutAPathPlaceTheFilterIsStillHandedOut) {
    sim::SimDeviceBus bus;
    const auto scanner = bus.Plug(Scanner(), false);
    test::RecordingPause pause;
    std::shared_ptr<media::Filter> filter;
    EXPECT_TRUE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    EXPECT_EQ(filter, scanner);
}

TEST(FindScanner, TheWalkEndsAtAnUnbindableDeviceBeforeTheScannerIsAsked) {
    sim::SimDeviceBus bus;
    bus.Plug(Unbindable(Webcam()), false);
    const auto scanner = bus.Plug(Scanner(), false);
    test::RecordingPause pause;
    std::shared_ptr<media::Filter> filter;
    EXPECT_FALSE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    EXPECT_TRUE(scanner->KsRequests().empty());
}

TEST(FindScanner, AFailedIdentificationWriteIsFollowedByTheRecoveryExchange) {
    sim::SimDeviceBus bus;
    const auto broken = bus.Plug(
        With(Scanner("A"), [](auto& s) { s.extensionUnits[0].selectors[0].writeResult = kFail; }),
        false);
    test::RecordingPause pause;
    std::shared_ptr<media::Filter> filter;
    EXPECT_FALSE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> onCommandSelector;
    for (const auto& request : broken->KsRequests()) {
        if (request.id == contract::kIdentifyWriteSelector &&
            (request.flags == devices::kKsTopologyGet ||
             request.flags == devices::kKsTopologySet) &&
            request.dataLength > 0) {
            onCommandSelector.emplace_back(request.flags, request.sent);
        }
    }
    const std::vector<std::uint8_t> command(contract::kIdentifyCommand.begin(),
                                            contract::kIdentifyCommand.end());
    const std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> expected{
        {devices::kKsTopologySet, command},
        {devices::kKsTopologyGet, {}},
        {devices::kKsTopologySet, {0xFF, 0, 0, 0, 0, 0, 0, 0}}};
    EXPECT_EQ(onCommandSelector, expected);
}

// What discovery says of a device it passes over: its path, the test it failed and whether it
// looks like a scanner that did not identify itself (worth another try).
struct ReportCase {
    const char* name;
    std::function<SimDeviceConfig()> device;
    DeviceVerdict::Failure failure;
    bool unidentifiedScanner;
};

class DiscoveryReportTest : public testing::TestWithParam<ReportCase> {};

TEST_P(DiscoveryReportTest, NamesTheDeviceAndWhatFailed) {
    sim::SimDeviceBus bus;
    test::RecordingPause pause;
    const SimDeviceConfig config = GetParam().device();
    bus.Plug(config, false);
    std::shared_ptr<media::Filter> filter;
    DiscoveryReport report;
    EXPECT_FALSE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function(), &report));
    ASSERT_EQ(report.size(), 1u);
    EXPECT_EQ(report[0].devicePath, config.devicePath);
    EXPECT_EQ(report[0].failure, GetParam().failure);
    EXPECT_EQ(SawUnidentifiedScanner(report), GetParam().unidentifiedScanner);
    EXPECT_TRUE(DescribeDiscovery(report).startsWith(config.devicePath + QStringLiteral(": ")));
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DiscoveryReportTest,
    testing::Values(ReportCase{"Webcam", Webcam, DeviceVerdict::Failure::kNoExtensionUnit, false},
                    ReportCase{
                        "ScannerWithoutUnit",
                        [] { return With(Scanner(), [](auto& s) { s.extensionUnits.clear(); }); },
                        DeviceVerdict::Failure::kNoExtensionUnit, true},
                    ReportCase{"ScannerThatDoesNotAnswer",
                               [] {
                                   return With(Scanner(), [](auto& s) {
                                       s.extensionUnits[0].answersIdentification = false;
                                   });
                               },
                               DeviceVerdict::Failure::kNotIdentified, true},
                    ReportCase{"OtherIdentifiers",
                               [] {
                                   return With(Scanner(), [](auto& s) {
                                       s.devicePath =
                                           sim::SimDevicePath(0x8888, 0x0002, QStringLiteral("X"));
                                   });
                               },
                               DeviceVerdict::Failure::kNotTheScanner, false},
                    ReportCase{"Unbindable", [] { return Unbindable(Scanner()); },
                               DeviceVerdict::Failure::kNotBound, false}),
    [](const testing::TestParamInfo<ReportCase>& param) { return std::string(param.param.name); });

TEST(FindScanner, EveryCallEnumeratesAfresh) {
    sim::SimDeviceBus bus;
    test::RecordingPause pause;
    std::shared_ptr<media::Filter> filter;
    EXPECT_FALSE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    const auto scanner = bus.Plug(Scanner(), false);
    EXPECT_TRUE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    EXPECT_EQ(filter, scanner);
    filter.reset();
    bus.Unplug(scanner->DevicePath(), false);
    EXPECT_FALSE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
}

TEST(FindScanner, OpeningTheScannersUnitPausesOncePerSelector) {
    sim::SimDeviceBus bus;
    bus.Plug(Webcam(), false);
    bus.Plug(Scanner(), false);
    test::RecordingPause pause;
    std::shared_ptr<media::Filter> filter;
    ASSERT_TRUE(FindScanner(bus, std::nullopt, nullptr, &filter, pause.Function()));
    // The webcam has no unit to probe; the scanner's two selectors take a pause each.
    EXPECT_EQ(pause.Count(), 2);
    EXPECT_EQ(pause.Total(), 200ms);
}

TEST(FindScanner, TheDefaultPauseReallyWaits) {
    sim::SimDeviceBus bus;
    bus.Plug(Scanner(), false);
    std::shared_ptr<media::Filter> filter;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(FindScanner(bus, std::nullopt, nullptr, &filter));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
}

TEST(HasScannerIdentifiers, ComparesWithoutRegardToCase) {
    EXPECT_TRUE(HasScannerIdentifiers(QStringLiteral("usb#vid_8888&pid_0001#1")));
    EXPECT_TRUE(HasScannerIdentifiers(QStringLiteral("USB#VID_8888&PID_0001#1")));
    EXPECT_TRUE(HasScannerIdentifiers(QStringLiteral("vId_8888&PiD_0001")));
    EXPECT_FALSE(HasScannerIdentifiers(QStringLiteral("usb#vid_8888&pid_0002#1")));
    EXPECT_FALSE(HasScannerIdentifiers(QStringLiteral("usb#vid_8888#pid_0001")));
    EXPECT_FALSE(HasScannerIdentifiers(QString()));
}

}  // namespace
}  // namespace zv
