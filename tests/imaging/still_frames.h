#pragma once

// Still frames for the imaging tests, the benchmark and the fuzz corpus: pictures with known
// content, encoded the ways scanners deliver them, and a reader of a JPEG file's segments.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

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

// A picture with the look of a film scan: a diagonal colour gradient, a few shapes and, with
// `grain`, per-pixel noise of that amplitude so the entropy coder has real work to do.
inline QImage FilmPicture(int width, int height, int grain = 0) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(30, 60, 200));
    gradient.setColorAt(1, QColor(230, 180, 40));
    painter.fillRect(image.rect(), gradient);
    painter.setBrush(QColor(200, 30, 30));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRect(width / 5, height / 5, width / 3, height / 3));
    painter.fillRect(QRect(width / 2, height / 2, width / 3, height / 4), QColor(20, 150, 60));
    painter.end();
    if (grain > 0) {
        QRandomGenerator random(12345);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const int noise = static_cast<int>(random.bounded(2 * grain + 1)) - grain;
                const QRgb pixel = line[x];
                line[x] =
                    qRgb(qBound(0, qRed(pixel) + noise, 255), qBound(0, qGreen(pixel) + noise, 255),
                         qBound(0, qBlue(pixel) + noise, 255));
            }
        }
    }
    return image;
}

}  // namespace zv::test
