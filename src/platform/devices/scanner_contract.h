#pragma once

#include "platform/guid.h"
#include "platform/status.h"

#include <array>
#include <cstdint>
#include <string_view>

// What the system relies on the film scanner to be and to do, as named constants: its identity,
// its identification exchange, its presence notifications, the pins of its capture filter, its
// picture property indices and the codes of a busy device. Used by discovery, the extension unit,
// the property slots, the capture engine and the simulated scanner alike.
namespace zv::contract {

// Part of the device path of the scanner, compared without regard to case.
inline constexpr std::string_view kVidPid = "vid_8888&pid_0001";
inline constexpr std::uint16_t kUsbVendorId = 0x8888;
inline constexpr std::uint16_t kUsbProductId = 0x0001;

// The property set of the scanner chip's vendor extension unit.
inline constexpr Guid kExtensionUnitPropertySet{
    0x1229A78C, 0x47B4, 0x4094, {0xB0, 0xCE, 0xDB, 0x07, 0x38, 0x6F, 0xB9, 0x38}};

// Class of the device-interface arrival and removal notifications (capture devices).
inline constexpr Guid kCaptureInterfaceCategory{
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// Identification exchange: the command is written on one selector, the reply read on the other.
inline constexpr std::uint32_t kIdentifyWriteSelector = 10;
inline constexpr std::uint32_t kIdentifyReadSelector = 11;
inline constexpr std::array<std::uint8_t, 8> kIdentifyCommand{0x00, 0xD0, 0x00, 0x00,
                                                              0x08, 0x00, 0x00, 0x00};
// "REALSIL" followed by a zero byte.
inline constexpr std::array<std::uint8_t, 8> kIdentifyReply{'R', 'E', 'A', 'L',
                                                            'S', 'I', 'L', 0x00};
// Written to the command selector when the exchange failed (bytes FF 00 00 00 00 00 00 00).
inline constexpr std::int64_t kIdentifyRecoveryValue = 0xFF;

// Video processing property indices the scanner honours.
inline constexpr int kVideoBrightness = 0;
inline constexpr int kVideoContrast = 1;
inline constexpr int kVideoSaturation = 3;
inline constexpr int kVideoGamma = 5;

// Camera control property indices the scanner reuses as colour levels and film type.
inline constexpr int kCameraRedLevel = 0;    // pan
inline constexpr int kCameraBlueLevel = 1;   // tilt
inline constexpr int kCameraFilmType = 2;    // roll: 0 positive (slide), 1 negative
inline constexpr int kCameraGreenLevel = 3;  // zoom

inline constexpr int kFilmTypePositive = 0;
inline constexpr int kFilmTypeNegative = 1;

// Running the capture graph fails with one of these while another program holds the scanner.
inline constexpr Status kBusyNoSystemResources = kNoSystemResources;  // 0x800705AA
inline constexpr Status kBusySharingViolation = kSharingViolation;    // 0x80070020

constexpr bool IsBusyStatus(Status status) {
    return status == kBusyNoSystemResources || status == kBusySharingViolation;
}

}  // namespace zv::contract
