#pragma once

// Still frames for the imaging tests, the benchmark and the fuzz corpus: pictures with known
// content, encoded the ways scanners deliver them, and a reader of a JPEG file's segments.

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <memory>
#include <turbojpeg.h>
#include <vector>

namespace zv::test {

enum class Chroma { k444 = TJSAMP_444, k422 = TJSAMP_422, k420 = TJSAMP_420, kGray = TJSAMP_GRAY };

// Encodes a Format_RGB32 picture with TurboJPEG; with `progressive` as a progressive JPEG.
inline QByteArray EncodeJpeg(const QImage& picture, int quality, Chroma chroma,
                             bool progressive = false) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
    const int result =
        tjCompress2(handle.get(), image.constBits(), image.width(),
                    static_cast<int>(image.bytesPerLine()), image.height(), pixelFormat, &out,
                    &size, static_cast<int>(chroma), quality, progressive ? TJFLAG_PROGRESSIVE : 0);
    QByteArray bytes;
    if (result == 0) {
        bytes = QByteArray(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    }
    tjFree(out);
    return bytes;
}

// One marker segment: its marker byte (0xC4 for DHT) and payload after the length field.
struct JpegSegment {
    std::uint8_t marker = 0;
    qsizetype offset = 0;  // of the 0xFF that starts the segment
    QByteArray payload;
};

// The segments from SOI up to and including the first SOS (whose payload is its header only).
inline std::vector<JpegSegment> ReadSegments(const QByteArray& jpeg) {
    std::vector<JpegSegment> segments;
    qsizetype at = 2;
    while (at + 4 <= jpeg.size() && static_cast<std::uint8_t>(jpeg[at]) == 0xFF) {
        const auto marker = static_cast<std::uint8_t>(jpeg[at + 1]);
        const int length = (static_cast<std::uint8_t>(jpeg[at + 2]) << 8) |
                           static_cast<std::uint8_t>(jpeg[at + 3]);
        segments.push_back({marker, at, jpeg.mid(at + 4, length - 2)});
        if (marker == 0xDA) {
            break;
        }
        at += 2 + length;
    }
    return segments;
}

// The frame as a motion-JPEG camera sends it: without its Huffman table (DHT) segments, which
// the receiver must replace with the standard tables.
inline QByteArray WithoutHuffmanTables(const QByteArray& jpeg) {
    QByteArray out = jpeg.left(2);
    qsizetype copied = 2;
    for (const JpegSegment& segment : ReadSegments(jpeg)) {
        out += jpeg.mid(copied, segment.offset - copied);
        copied = segment.offset;
        if (segment.marker == 0xC4) {
            copied += 4 + segment.payload.size();
        }
    }
    out += jpeg.mid(copied);
    return out;
}

// A picture with the look of a film scan: a diagonal colour gradient, an ellipse and a rectangle
// and, with `grain`, per-pixel noise of that amplitude so the entropy coder has real work to do.
// Drawn pixel by pixel (no QPainter, whose helper threads sanitizers cannot follow), from a fixed
// noise sequence: the same picture every time.
inline QImage FilmPicture(int width, int height, int grain = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const double diagonal = double(width) * width + double(height) * height;
    const double cx = width / 5.0 + width / 6.0;
    const double cy = height / 5.0 + height / 6.0;
    const double rx = width / 6.0;
    const double ry = height / 6.0;
    std::uint32_t state = 12345;
    const auto span = static_cast<std::uint32_t>(2 * grain + 1);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(bits + y * stride);
        for (int x = 0; x < width; ++x) {
            const double t = (double(x) * width + double(y) * height) / diagonal;
            int r = int(30 + t * 200);
            int g = int(60 + t * 120);
            int b = int(200 - t * 160);
            const double ex = (x + 0.5 - cx) / rx;
            const double ey = (y + 0.5 - cy) / ry;
            if (ex * ex + ey * ey <= 1) {
                r = 200, g = 30, b = 30;
            } else if (x >= width / 2 && x < width / 2 + width / 3 && y >= height / 2 &&
                       y < height / 2 + height / 4) {
                r = 20, g = 150, b = 60;
            }
            if (grain > 0) {
                state ^= state << 13;
                state ^= state >> 17;
                state ^= state << 5;
                const int noise = static_cast<int>(state % span) - grain;
                r += noise;
                g += noise;
                b += noise;
            }
            line[x] = qRgb(qBound(0, r, 255), qBound(0, g, 255), qBound(0, b, 255));
        }
    }
    return image;
}

}  // namespace zv::test
