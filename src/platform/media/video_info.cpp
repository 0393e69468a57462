#include "platform/media/video_info.h"

#include "platform/media/media_guids.h"

#include <cstdlib>
#include <vector>

namespace zv::media {

namespace {

void Put32(std::vector<std::uint8_t>& block, std::uint32_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        block[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void Put64(std::vector<std::uint8_t>& block, std::uint32_t offset, std::uint64_t value) {
    Put32(block, offset, static_cast<std::uint32_t>(value));
    Put32(block, offset + 4, static_cast<std::uint32_t>(value >> 32));
}

bool Get32(const std::vector<std::uint8_t>& block, std::uint32_t offset, std::uint32_t* value) {
    if (block.size() < offset + 4) {
        return false;
    }
    *value = 0;
    for (int i = 0; i < 4; ++i) {
        *value |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
    }
    return true;
}

struct SubtypeLayout {
    std::uint16_t bitCount;
    std::uint32_t compression;
};

SubtypeLayout LayoutOf(const Guid& subtype) {
    if (subtype == kSubtypeYuy2) {
        return {16, FourCc('Y', 'U', 'Y', '2')};
    }
    if (subtype == kSubtypeRgb32) {
        return {32, 0};  // BI_RGB
    }
    return {24, FourCc('M', 'J', 'P', 'G')};
}

// The block common to both layouts: rectangles, bit rate, frame time and the bitmap header at
// `bitmapOffset`.
std::vector<std::uint8_t> MakeBlock(std::uint32_t size, std::uint32_t bitmapOffset,
                                    const Guid& subtype, std::int32_t width, std::int32_t height,
                                    std::int64_t frameTime) {
    std::vector<std::uint8_t> block(size, 0);
    const SubtypeLayout layout = LayoutOf(subtype);
    const auto absWidth = static_cast<std::uint32_t>(std::abs(width));
    const auto absHeight = static_cast<std::uint32_t>(std::abs(height));
    const std::uint32_t imageSize = absWidth * absHeight * layout.bitCount / 8;
    // rcSource and rcTarget stay empty: the whole frame.
    if (frameTime > 0) {
        const auto bitRate = static_cast<std::uint64_t>(imageSize) * 8u * 10000000u /
                             static_cast<std::uint64_t>(frameTime);
        Put32(block, 32, static_cast<std::uint32_t>(bitRate));
    }
    Put64(block, 40, static_cast<std::uint64_t>(frameTime));
    Put32(block, bitmapOffset, kBitmapHeaderSize);
    Put32(block, bitmapOffset + kBitmapWidthOffset, static_cast<std::uint32_t>(width));
    Put32(block, bitmapOffset + kBitmapHeightOffset, static_cast<std::uint32_t>(height));
    block[bitmapOffset + 12] = 1;  // biPlanes
    block[bitmapOffset + 14] = static_cast<std::uint8_t>(layout.bitCount);
    Put32(block, bitmapOffset + kBitmapCompressionOffset, layout.compression);
    Put32(block, bitmapOffset + 20, imageSize);
    return block;
}

bool ReadSizeAt(const MediaType& type, std::uint32_t bitmapOffset, FrameSize* size) {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (!Get32(type.Format(), bitmapOffset + kBitmapWidthOffset, &width) ||
        !Get32(type.Format(), bitmapOffset + kBitmapHeightOffset, &height)) {
        return false;
    }
    size->width = static_cast<std::int32_t>(width);
    size->height = static_cast<std::int32_t>(height);
    return true;
}

}  // namespace

MediaType MakeVideoInfoType(const Guid& subtype, std::int32_t width, std::int32_t height,
                            std::int64_t frameTime) {
    return MediaType(
        kMediaTypeVideo, subtype, kFormatVideoInfo,
        MakeBlock(kVideoInfoSize, kVideoInfoBitmapOffset, subtype, width, height, frameTime));
}

MediaType MakeVideoInfo2Type(const Guid& subtype, std::int32_t width, std::int32_t height,
                             std::int64_t frameTime) {
    return MediaType(
        kMediaTypeVideo, subtype, kFormatVideoInfo2,
        MakeBlock(kVideoInfo2Size, kVideoInfo2BitmapOffset, subtype, width, height, frameTime));
}

MediaType MakeShortVideoInfoType(const Guid& subtype, std::int32_t width, std::int32_t height,
                                 std::uint32_t blockSize) {
    std::vector<std::uint8_t> block =
        MakeBlock(kVideoInfoSize, kVideoInfoBitmapOffset, subtype, width, height, kFrameTime15Fps);
    block.resize(blockSize, 0);
    return MediaType(kMediaTypeVideo, subtype, kFormatVideoInfo, std::move(block));
}

bool IsWholeVideoInfo(const MediaType& type) {
    return type.FormatType() == kFormatVideoInfo && type.FormatSize() >= kVideoInfoSize;
}

std::optional<VideoInfoFields> ReadVideoInfo(const MediaType& type) {
    VideoInfoFields fields;
    if (!IsWholeVideoInfo(type) || !ReadSizeAt(type, kVideoInfoBitmapOffset, &fields.size) ||
        !Get32(type.Format(), kVideoInfoBitmapOffset + kBitmapCompressionOffset, &fields.fourcc)) {
        return std::nullopt;
    }
    fields.frameTime = ReadFrameTime(type);
    return fields;
}

bool ReadFrameSize(const MediaType& type, FrameSize* size) {
    if (type.FormatType() == kFormatVideoInfo) {
        return ReadSizeAt(type, kVideoInfoBitmapOffset, size);
    }
    if (type.FormatType() == kFormatVideoInfo2) {
        return ReadSizeAt(type, kVideoInfo2BitmapOffset, size);
    }
    return false;
}

std::int64_t ReadFrameTime(const MediaType& type) {
    if (type.FormatType() != kFormatVideoInfo && type.FormatType() != kFormatVideoInfo2) {
        return 0;
    }
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (!Get32(type.Format(), 40, &low) || !Get32(type.Format(), 44, &high)) {
        return 0;
    }
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
}

}  // namespace zv::media
