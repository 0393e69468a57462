#pragma once

// Still frames for the imaging tests, the benchmark and the fuzz corpus.

#include <QByteArray>
#include <QImage>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <turbojpeg.h>
#include <vector>

namespace zv::test {

enum class Chroma { k444 = TJSAMP_444, k422 = TJSAMP_422, k420 = TJSAMP_420, kGray = TJSAMP_GRAY };

inline QByteArray EncodeJpeg(const QImage& picture, int quality, Chroma chroma,
                             bool progressive = false) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    QByteArray bytes;
    if (tjCompress2(handle.get(), image.constBits(), image.width(),
                    static_cast<int>(image.bytesPerLine()), image.height(), format, &out, &size,
                    static_cast<int>(chroma), quality, progressive ? TJFLAG_PROGRESSIVE : 0) == 0) {
        bytes = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    }
    tjFree(out);
    return bytes;
}

// A marker segment (0xC4 DHT, 0xDB DQT, 0xC0 SOF0, ...): where it starts and its payload.
struct JpegSegment {
    std::uint8_t marker = 0;
    qsizetype offset = 0;
    QByteArray payload;
};

// The segments after SOI up to and including the first SOS.
inline std::vector<JpegSegment> ReadSegments(const QByteArray& jpeg) {
    std::vector<JpegSegment> segments;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[at]) == 0xFF;) {
        const auto marker = static_cast<std::uint8_t>(jpeg[at + 1]);
        const int length =
            static_cast<std::uint8_t>(jpeg[at + 2]) << 8 | static_cast<std::uint8_t>(jpeg[at + 3]);
        segments.push_back({marker, at, jpeg.mid(at + 4, length - 2)});
        if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return segments;
}

// The frame as a motion-JPEG camera sends it: without its Huffman tables.
inline QByteArray WithoutHuffmanTables(QByteArray jpeg) {
    const std::vector<JpegSegment> segments = ReadSegments(jpeg);
    for (auto it = segments.rbegin(); it != segments.rend(); ++it) {
        if (it->marker == 0xC4) {
            jpeg.remove(it->offset, 4 + it->payload.size());
        }
    }
    return jpeg;
}

// A film scan's look: a diagonal gradient, a red and a green rectangle and, with `grain`, noise
// of that amplitude from a fixed sequence. Drawn pixel by pixel: QPainter's helper threads are
// invisible to ThreadSanitizer.
inline QImage FilmPicture(int width, int height, int grain = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    uchar* const bits = image.bits();
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * image.bytesPerLine());
        for (int x = 0; x < width; ++x) {
            const int t = int(255.0 * (x + y) / (width + height));
            int r = 30 + t * 200 / 255, g = 60 + t * 120 / 255, b = 200 - t * 160 / 255;
            if (x >= width / 5 && x < width / 2 && y >= height / 5 && y < height / 2) {
                r = 200, g = 30, b = 30;
            } else if (x >= width / 2 && x < width * 5 / 6 && y >= height / 2 &&
                       y < height * 3 / 4) {
                r = 20, g = 150, b = 60;
            }
            if (grain > 0) {
                state ^= state << 13, state ^= state >> 17, state ^= state << 5;
                const int noise = static_cast<int>(state % (2 * grain + 1)) - grain;
                r += noise, g += noise, b += noise;
            }
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

inline int MaxChannelDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    }
    return worst;
}

}  // namespace zv::test
