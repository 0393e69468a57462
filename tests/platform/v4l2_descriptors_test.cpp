#include "platform/devices/scanner_contract.h"
#include "platform/v4l2/uvc_descriptors.h"
#include "platform/v4l2_descriptor_blobs.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace zv::v4l2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(std::span<const std::uint8_t> bytes) {
    return Bytes(bytes.begin(), bytes.end());
}

// A configuration of our own making: configuration descriptor `value`, then the descriptors.
Bytes Configuration(std::uint8_t value, std::initializer_list<Bytes> descriptors) {
    Bytes bytes = {0x09, 0x02, 0x00, 0x00, 0x02, value, 0x00, 0x80, 0xFA};
    for (const Bytes& d : descriptors) {
        bytes.insert(bytes.end(), d.begin(), d.end());
    }
    return bytes;
}

Bytes Interface(std::uint8_t number, std::uint8_t subclass, std::uint8_t alternate = 0) {
    return {0x09, 0x04, number, alternate, 0x00, 0x0E, subclass, 0x00, 0x00};
}

Bytes Header(std::initializer_list<std::uint8_t> streaming) {
    Bytes d = {0,    0x24, 0x01, 0x10, 0x01, 0x00,
               0x00, 0x00, 0x6C, 0xDC, 0x02, static_cast<std::uint8_t>(streaming.size())};
    d.insert(d.end(), streaming.begin(), streaming.end());
    d[0] = static_cast<std::uint8_t>(d.size());
    return d;
}

Bytes CameraTerminal(std::uint8_t id) {
    return {0x12, 0x24, 0x02, id, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0x00, 0x2A, 0x00};
}

Bytes ProcessingUnit(std::uint8_t id) {
    return {0x0B, 0x24, 0x05, id, 0x01, 0x00, 0x40, 0x02, 0x2B, 0x00, 0x00};
}

const std::array<std::uint8_t, 16> kVendorGuid =
    GuidDescriptorBytes(contract::kExtensionUnitPropertySet);

// An extension unit descriptor, bLength as given (the bytes after it are cut).
Bytes ExtensionUnit(std::uint8_t id, std::uint8_t length, std::uint8_t pins = 1,
                    std::uint8_t controlSize = 2) {
    Bytes d = {length, 0x24, 0x06, id};
    d.insert(d.end(), kVendorGuid.begin(), kVendorGuid.end());
    d.push_back(2);     // bNumControls
    d.push_back(pins);  // bNrInPins
    for (std::uint8_t i = 0; i < pins; ++i) {
        d.push_back(static_cast<std::uint8_t>(2 + i));
    }
    d.push_back(controlSize);
    for (std::uint8_t i = 0; i < controlSize; ++i) {
        d.push_back(i == 1 ? 0x06 : 0x00);
    }
    d.push_back(0);  // iExtension
    d.resize(length);
    return d;
}

Bytes MjpegFormat() {
    return {0x0B, 0x24, 0x06, 0x01, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00};
}

Bytes UncompressedFormat() {
    Bytes d = {0x1B, 0x24, 0x04, 0x02, 0x01};
    d.resize(0x1B, 0);
    return d;
}

Bytes StillFrame(std::initializer_list<std::pair<std::uint16_t, std::uint16_t>> sizes,
                 int declared = -1) {
    Bytes d = {
        0, 0x24, 0x03, 0x00,
        static_cast<std::uint8_t>(declared >= 0 ? declared : static_cast<int>(sizes.size()))};
    for (const auto& [w, h] : sizes) {
        d.insert(d.end(), {static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(w >> 8),
                           static_cast<std::uint8_t>(h), static_cast<std::uint8_t>(h >> 8)});
    }
    d.push_back(0);  // bNumCompressionPattern
    d[0] = static_cast<std::uint8_t>(d.size());
    return d;
}

TEST(UvcDescriptors, BenchScannerHasItsThreeUnitsAndTheVendorExtensionUnit) {
    const UvcDescriptors parsed = ParseUvcDescriptors(test::kScannerDescriptors, 0);
    ASSERT_TRUE(parsed.found);
    EXPECT_FALSE(parsed.truncated);
    ASSERT_EQ(parsed.entities.size(), 3u);

    EXPECT_EQ(parsed.entities[0].kind, UvcEntityKind::kCameraTerminal);
    EXPECT_EQ(parsed.entities[0].id, 1);
    EXPECT_EQ(parsed.entities[0].controls, (Bytes{0x00, 0x2A, 0x00}));  // zoom, pan/tilt, roll
    EXPECT_EQ(parsed.entities[1].kind, UvcEntityKind::kProcessingUnit);
    EXPECT_EQ(parsed.entities[1].id, 2);
    EXPECT_EQ(parsed.entities[1].controls, (Bytes{0x2B, 0x00}));

    const UvcEntity& unit = parsed.entities[2];
    EXPECT_EQ(unit.kind, UvcEntityKind::kExtensionUnit);
    EXPECT_EQ(unit.id, 4);
    EXPECT_EQ(unit.guid, kVendorGuid);
    EXPECT_EQ(unit.numControls, 2);
    EXPECT_EQ(unit.sourceIds, Bytes{2});
    EXPECT_EQ(unit.controls, (Bytes{0x00, 0x06}));  // selectors 10 and 11
    EXPECT_TRUE(unit.complete);
    // The unit information: the 27-byte descriptor from its GUID on.
    ASSERT_EQ(unit.unitInformation.size(), 23u);
    EXPECT_TRUE(std::equal(kVendorGuid.begin(), kVendorGuid.end(), unit.unitInformation.begin()));
    EXPECT_EQ(Bytes(unit.unitInformation.begin() + 16, unit.unitInformation.end()),
              (Bytes{0x02, 0x01, 0x02, 0x02, 0x00, 0x06, 0x00}));
    EXPECT_TRUE(parsed.mjpegStillSizes.empty());
}

TEST(UvcDescriptors, BenchWebcamHasNoExtensionUnit) {
    const UvcDescriptors parsed = ParseUvcDescriptors(test::kBenchWebcamDescriptors, 0);
    ASSERT_TRUE(parsed.found);
    EXPECT_FALSE(parsed.truncated);
    ASSERT_EQ(parsed.entities.size(), 2u);
    EXPECT_EQ(parsed.entities[0].kind, UvcEntityKind::kCameraTerminal);
    EXPECT_EQ(parsed.entities[0].controls, (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(parsed.entities[1].kind, UvcEntityKind::kProcessingUnit);
    EXPECT_EQ(parsed.entities[1].controls, (Bytes{0x7B, 0x10}));
}

TEST(UvcDescriptors, RealWebcamUnitsInDescriptorOrderAndNoMjpegStills) {
    const UvcDescriptors parsed = ParseUvcDescriptors(test::kRealWebcamDescriptors, 0);
    ASSERT_TRUE(parsed.found);
    EXPECT_FALSE(parsed.truncated);
    // Output terminal, extension unit, camera terminal, processing unit: the output terminal
    // is no node.
    ASSERT_EQ(parsed.entities.size(), 3u);
    const UvcEntity& unit = parsed.entities[0];
    EXPECT_EQ(unit.kind, UvcEntityKind::kExtensionUnit);
    EXPECT_EQ(unit.id, 4);
    const std::array<std::uint8_t, 16> guid = {0x70, 0x33, 0xF0, 0x28, 0x11, 0x63, 0x2E, 0x4A,
                                               0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16};
    EXPECT_EQ(unit.guid, guid);
    EXPECT_NE(unit.guid, kVendorGuid);
    EXPECT_EQ(unit.numControls, 8);
    EXPECT_EQ(unit.sourceIds, Bytes{3});
    EXPECT_EQ(unit.controls, Bytes{0x0F});
    EXPECT_EQ(unit.unitInformation.size(), 22u);
    EXPECT_TRUE(unit.complete);
    EXPECT_EQ(parsed.entities[1].kind, UvcEntityKind::kCameraTerminal);
    EXPECT_EQ(parsed.entities[1].controls, (Bytes{0x04, 0x00, 0x00}));
    EXPECT_EQ(parsed.entities[2].kind, UvcEntityKind::kProcessingUnit);
    EXPECT_EQ(parsed.entities[2].id, 3);
    EXPECT_EQ(parsed.entities[2].controls, (Bytes{0x3F, 0x07}));
    // Its still image sizes belong to the YUY2 format.
    EXPECT_TRUE(parsed.mjpegStillSizes.empty());
}

TEST(UvcDescriptors, OtherInterfacesAreNotTheVideoControlInterface) {
    // 1: streaming; 2 and 3: the audio function.
    for (const int number : {1, 2, 3, 7}) {
        const UvcDescriptors parsed = ParseUvcDescriptors(test::kRealWebcamDescriptors, number);
        EXPECT_FALSE(parsed.found) << number;
        EXPECT_TRUE(parsed.entities.empty()) << number;
    }
}

TEST(UvcDescriptors, GuidBytesAreTheDescriptorsByteOrder) {
    EXPECT_EQ(kVendorGuid,
              (std::array<std::uint8_t, 16>{0x8C, 0xA7, 0x29, 0x12, 0xB4, 0x47, 0x94, 0x40, 0xB0,
                                            0xCE, 0xDB, 0x07, 0x38, 0x6F, 0xB9, 0x38}));
}

// The scanner's blob with the bLength of its extension unit descriptor (at offset 96) replaced.
struct WalkCase {
    const char* name;
    std::uint8_t extensionUnitLength;
    std::size_t cutAt;  // the blob's size after cutting (0: whole)
};

class BrokenScannerBlob : public testing::TestWithParam<WalkCase> {};

TEST_P(BrokenScannerBlob, WalkStopsWithWhatCameBefore) {
    constexpr std::size_t kExtensionUnitAt = 96;
    Bytes bytes = Of(test::kScannerDescriptors);
    ASSERT_EQ(bytes[kExtensionUnitAt], 0x1B);
    ASSERT_EQ(bytes[kExtensionUnitAt + 2], 0x06);
    bytes[kExtensionUnitAt] = GetParam().extensionUnitLength;
    if (GetParam().cutAt != 0) {
        bytes.resize(GetParam().cutAt);
    }
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    EXPECT_TRUE(parsed.found);
    EXPECT_TRUE(parsed.truncated);
    ASSERT_EQ(parsed.entities.size(), 2u);  // camera terminal and processing unit only
    EXPECT_EQ(parsed.entities[1].kind, UvcEntityKind::kProcessingUnit);
}

INSTANTIATE_TEST_SUITE_P(Malformed, BrokenScannerBlob,
                         testing::Values(WalkCase{"ZeroLength", 0x00, 0},
                                         WalkCase{"LengthOne", 0x01, 0},
                                         WalkCase{"PastTheEnd", 0x1B, 96 + 20},
                                         WalkCase{"LengthBeyondTheBlob", 0xFF, 96 + 200}),
                         [](const testing::TestParamInfo<WalkCase>& p) { return p.param.name; });

struct UnitCase {
    const char* name;
    Bytes unit;
    bool listed;
    std::size_t informationSize;
    Bytes sourceIds;
    Bytes controls;
    bool complete;
};

class ExtensionUnitDescriptor : public testing::TestWithParam<UnitCase> {};

// A short extension unit is kept with what it holds as long as its GUID is whole; the walk goes
// on behind it by its bLength.
TEST_P(ExtensionUnitDescriptor, KeepsWhatItsLengthCovers) {
    const UnitCase& c = GetParam();
    const Bytes bytes = Configuration(
        1, {Interface(0, 0x01), Header({1}), CameraTerminal(1), c.unit, ProcessingUnit(2)});
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    ASSERT_TRUE(parsed.found);
    EXPECT_FALSE(parsed.truncated);
    ASSERT_EQ(parsed.entities.size(), c.listed ? 3u : 2u);
    EXPECT_EQ(parsed.entities.back().kind, UvcEntityKind::kProcessingUnit);
    if (!c.listed) {
        return;
    }
    const UvcEntity& unit = parsed.entities[1];
    EXPECT_EQ(unit.kind, UvcEntityKind::kExtensionUnit);
    EXPECT_EQ(unit.guid, kVendorGuid);
    EXPECT_EQ(unit.unitInformation.size(), c.informationSize);
    EXPECT_EQ(unit.sourceIds, c.sourceIds);
    EXPECT_EQ(unit.controls, c.controls);
    EXPECT_EQ(unit.complete, c.complete);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ExtensionUnitDescriptor,
    testing::Values(
        UnitCase{"Whole", ExtensionUnit(4, 27), true, 23, {2}, {0x00, 0x06}, true},
        UnitCase{"WithoutIExtension", ExtensionUnit(4, 26), true, 22, {2}, {0x00, 0x06}, false},
        UnitCase{"BitmapCut", ExtensionUnit(4, 25), true, 21, {2}, {0x00}, false},
        UnitCase{"ControlSizeOnly", ExtensionUnit(4, 24), true, 20, {2}, {}, false},
        UnitCase{"SourcesCut", ExtensionUnit(4, 23, 3), true, 19, {2}, {}, false},
        UnitCase{"GuidOnly", ExtensionUnit(4, 20), true, 16, {}, {}, false},
        UnitCase{"GuidCut", ExtensionUnit(4, 19), false, 0, {}, {}, false},
        UnitCase{"HeaderOnly", ExtensionUnit(4, 3), false, 0, {}, {}, false},
        UnitCase{"ManyPins",
                 ExtensionUnit(4, 40, 12),
                 true,
                 36,
                 {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                 {0x00, 0x06},
                 true},
        UnitCase{"BitmapFiveBytes",
                 ExtensionUnit(4, 30, 1, 5),
                 true,
                 26,
                 {2},
                 {0x00, 0x06, 0x00, 0x00, 0x00},
                 true}),
    [](const testing::TestParamInfo<UnitCase>& p) { return p.param.name; });

TEST(UvcDescriptors, ShortTerminalsAndUnitsAreSkippedAndOnlyCamerasAreTerminals) {
    const Bytes shortProcessing = {0x07, 0x24, 0x05, 0x02, 0x01, 0x00, 0x40};
    const Bytes streamingInput = {0x08, 0x24, 0x02, 0x05, 0x01, 0x01, 0x00, 0x00};
    const Bytes shortCamera = {0x07, 0x24, 0x02, 0x01, 0x01, 0x02, 0x00};
    const Bytes cutCamera = {0x0F, 0x24, 0x02, 0x06, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0x03};
    const Bytes bytes = Configuration(1, {Interface(0, 0x01), shortProcessing, streamingInput,
                                          shortCamera, cutCamera, ProcessingUnit(3)});
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    EXPECT_FALSE(parsed.truncated);
    ASSERT_EQ(parsed.entities.size(), 2u);
    EXPECT_EQ(parsed.entities[0].kind, UvcEntityKind::kCameraTerminal);
    EXPECT_EQ(parsed.entities[0].id, 6);
    EXPECT_TRUE(parsed.entities[0].controls.empty());
    EXPECT_FALSE(parsed.entities[0].complete);
    EXPECT_EQ(parsed.entities[1].id, 3);
}

TEST(UvcDescriptors, StillSizesOfMjpegFormatsOnlyWithoutRepeats) {
    const Bytes bytes =
        Configuration(1, {Interface(0, 0x01), Header({1, 2}), Interface(1, 0x02), MjpegFormat(),
                          StillFrame({{2592, 1944}, {3000, 3000}}), UncompressedFormat(),
                          StillFrame({{640, 480}}), Interface(2, 0x02), MjpegFormat(),
                          StillFrame({{3000, 3000}, {1280, 960}, {0, 480}})});
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    EXPECT_FALSE(parsed.truncated);
    EXPECT_EQ(parsed.mjpegStillSizes,
              (std::vector<UvcFrameSize>{{2592, 1944}, {3000, 3000}, {1280, 960}}));
}

TEST(UvcDescriptors, StillSizesOfOtherFunctionsAndAlternatesAreNotOurs) {
    const Bytes bytes =
        Configuration(1, {Interface(0, 0x01), Header({1}), Interface(1, 0x02), MjpegFormat(),
                          StillFrame({{2592, 1944}}), Interface(1, 0x02, 1), MjpegFormat(),
                          StillFrame({{800, 600}}), Interface(5, 0x02), MjpegFormat(),
                          StillFrame({{1024, 768}})});
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    EXPECT_EQ(parsed.mjpegStillSizes, (std::vector<UvcFrameSize>{{2592, 1944}}));
}

TEST(UvcDescriptors, StillDescriptorDeclaringMoreSizesThanItHolds) {
    Bytes still = StillFrame({{2592, 1944}, {3000, 3000}}, 3);
    const Bytes bytes = Configuration(
        1, {Interface(0, 0x01), Header({1}), Interface(1, 0x02), MjpegFormat(), still});
    const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
    EXPECT_TRUE(parsed.truncated);
    // The third pair would read bNumCompressionPattern and beyond: only whole pairs count.
    EXPECT_EQ(parsed.mjpegStillSizes, (std::vector<UvcFrameSize>{{2592, 1944}, {3000, 3000}}));
}

TEST(UvcDescriptors, TheConfigurationAskedForDecides) {
    Bytes bytes = Configuration(1, {Interface(0, 0x01), CameraTerminal(1)});
    const Bytes second = Configuration(2, {Interface(0, 0x01), ProcessingUnit(7)});
    bytes.insert(bytes.end(), second.begin(), second.end());
    const UvcDescriptors first = ParseUvcDescriptors(bytes, 0, 0);
    ASSERT_EQ(first.entities.size(), 1u);
    EXPECT_EQ(first.entities[0].kind, UvcEntityKind::kCameraTerminal);
    const UvcDescriptors chosen = ParseUvcDescriptors(bytes, 0, 2);
    ASSERT_EQ(chosen.entities.size(), 1u);
    EXPECT_EQ(chosen.entities[0].id, 7);
    EXPECT_FALSE(ParseUvcDescriptors(bytes, 0, 3).found);
}

TEST(UvcDescriptors, EmptyAndTinyInputs) {
    for (const Bytes& bytes : {Bytes{}, Bytes{0x12}, Bytes{0x00, 0x00}, Bytes{0x02, 0x04}}) {
        const UvcDescriptors parsed = ParseUvcDescriptors(bytes, 0);
        EXPECT_FALSE(parsed.found);
        EXPECT_TRUE(parsed.entities.empty());
    }
    EXPECT_TRUE(ParseUvcDescriptors(Bytes{0x12}, 0).truncated);
    EXPECT_TRUE(ParseUvcDescriptors(Bytes{0x00, 0x00}, 0).truncated);
    EXPECT_FALSE(ParseUvcDescriptors(Bytes{0x02, 0x04}, 0).truncated);
}

}  // namespace
}  // namespace zv::v4l2
