#pragma once

#include "platform/guid.h"
#include "platform/media/media_type.h"

#include <cstdint>
#include <optional>

// Building and reading video format blocks in the platform's little-endian layouts:
//   VideoInfo  (88 bytes): source and target rectangles, bit rates, frame time (48 bytes), then
//                          the 40-byte bitmap header: biSize at 48, biWidth at 52, biHeight at 56.
//   VideoInfo2 (112 bytes): the same first 48 bytes, six 32-bit fields, then the bitmap header
//                          at 72.
// Free functions on values; any thread.
namespace zv::media {

inline constexpr std::uint32_t kVideoInfoSize = 88;
inline constexpr std::uint32_t kVideoInfoBitmapOffset = 48;
inline constexpr std::uint32_t kVideoInfo2Size = 112;
inline constexpr std::uint32_t kVideoInfo2BitmapOffset = 72;
inline constexpr std::uint32_t kBitmapHeaderSize = 40;
// Offsets inside the bitmap header.
inline constexpr std::uint32_t kBitmapWidthOffset = 4;
inline constexpr std::uint32_t kBitmapHeightOffset = 8;
inline constexpr std::uint32_t kBitmapCompressionOffset = 16;

// 100-ns units per frame of a 15 frames per second stream.
inline constexpr std::int64_t kFrameTime15Fps = 666666;

// Frame size, in the bitmap header's signed terms (a negative height means top-down rows).
struct FrameSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend constexpr bool operator==(const FrameSize&, const FrameSize&) = default;
};

// A video type (major type video) with a whole VideoInfo block for `subtype` at width x height;
// the bit depth and compression code follow the subtype (MJPG 24 bits, YUY2 16, RGB32 32).
MediaType MakeVideoInfoType(const Guid& subtype, std::int32_t width, std::int32_t height,
                            std::int64_t frameTime = kFrameTime15Fps);

// The same with a VideoInfo2 block (112 bytes).
MediaType MakeVideoInfo2Type(const Guid& subtype, std::int32_t width, std::int32_t height,
                             std::int64_t frameTime = kFrameTime15Fps);

// A VideoInfo type whose block is cut to `blockSize` bytes (a device that reports a short
// block); the bytes it keeps are those of the whole block.
MediaType MakeShortVideoInfoType(const Guid& subtype, std::int32_t width, std::int32_t height,
                                 std::uint32_t blockSize);

// True when the type's format type is VideoInfo and its block holds a whole VideoInfo header
// (at least 88 bytes): the only types whose biWidth/biHeight the capture engine may read.
bool IsWholeVideoInfo(const MediaType& type);

// What the rest of the system reads of a format block: the bitmap header's compression code
// (0 for uncompressed RGB), its size and the average frame time (100-ns units).
struct VideoInfoFields {
    std::uint32_t fourcc = 0;
    FrameSize size;
    std::int64_t frameTime = 0;
};

// The fields of a whole VideoInfo block; nothing for any other format type or a shorter block.
std::optional<VideoInfoFields> ReadVideoInfo(const MediaType& type);

// biWidth and biHeight of a VideoInfo or VideoInfo2 block as far as its bytes reach them (a
// short VideoInfo block may still hold them); false when they are not there.
bool ReadFrameSize(const MediaType& type, FrameSize* size);

// The average frame time (100-ns units) of a VideoInfo or VideoInfo2 block; 0 when absent.
std::int64_t ReadFrameTime(const MediaType& type);

// Four-character code as the bitmap header's biCompression holds it ('MJPG' -> 0x47504A4D).
constexpr std::uint32_t FourCc(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(a)) |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(b)) << 8 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(c)) << 16 |
           static_cast<std::uint32_t>(static_cast<std::uint8_t>(d)) << 24;
}

}  // namespace zv::media
