#pragma once

#include "platform/media/jpeg_codec.h"
#include "platform/sim/film_scene.h"
#include "platform/sim/picture_parameters.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace zv::test {

// Preview frames as a scanner shows them while film is pushed through: a strip of film frames
// seen through a window the size of one frame, with sensor noise, lamp flicker and the preview's
// JPEG compression on top.

// Frame `number` of the simulated scanner's film as its preview shows it (negative film type).
inline QImage SimFilmFrame(int number, QSize size) {
    sim::PictureParameters parameters;
    parameters.Set(sim::PictureProperty::kFilmType, 1);
    return sim::FilmScene(number).Render(parameters.Snapshot(), size);
}

// Frames side by side with a dark gap between them, as on a strip of film.
class FilmStrip {
public:
    explicit FilmStrip(const std::vector<QImage>& frames) {
        m_frame = frames.front().size();
        m_gap = m_frame.width() / 20;
        const int count = static_cast<int>(frames.size());
        m_strip = QImage(count * m_frame.width() + (count - 1) * m_gap, m_frame.height(),
                         QImage::Format_RGB32);
        m_strip.fill(QColor(12, 10, 8));
        QPainter painter(&m_strip);
        for (int i = 0; i < count; ++i) {
            painter.drawImage(FrameLeft(i), 0, frames[static_cast<std::size_t>(i)]);
        }
    }
    int FrameLeft(int index) const { return index * (m_frame.width() + m_gap); }
    // What the camera sees with its left edge at `left` (clamped to the strip).
    QImage View(double left) const {
        const int x =
            std::clamp(static_cast<int>(std::lround(left)), 0, m_strip.width() - m_frame.width());
        return m_strip.copy(QRect(QPoint(x, 0), m_frame));
    }

private:
    QSize m_frame;
    int m_gap = 0;
    QImage m_strip;
};

// `change` applied to every channel of every pixel.
template <typename Change>
QImage MapChannels(const QImage& image, Change change) {
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            line[x] = qRgb(change(qRed(line[x])), change(qGreen(line[x])), change(qBlue(line[x])));
        }
    }
    return out;
}

// Gaussian noise of `sigma` levels, independent from frame to frame: read from a fixed table of
// standard normal values at a random place, so a frame costs no more than a copy.
inline QImage WithNoise(const QImage& image, double sigma, std::mt19937& random) {
    static const std::vector<float> table = [] {
        std::mt19937 seed(1);
        std::normal_distribution<float> normal;
        std::vector<float> values(1 << 20);
        std::generate(values.begin(), values.end(), [&] { return normal(seed); });
        return values;
    }();
    std::size_t next = random() % table.size();
    return MapChannels(image, [&](int value) {
        next = (next + 1) % table.size();
        return std::clamp(static_cast<int>(std::lround(value + sigma * table[next])), 0, 255);
    });
}

// A global change of light: every channel times `gain` plus `offset`, clipped.
inline QImage WithLight(const QImage& image, double gain, int offset) {
    return MapChannels(image, [&](int value) {
        return std::clamp(static_cast<int>(std::lround(value * gain)) + offset, 0, 255);
    });
}

// Through the preview's compression: encoded as the scanner does (4:2:2) and decoded.
inline QImage ThroughJpeg(const QImage& image, int quality) {
    const QByteArray bytes =
        media::JpegCodec::Encode(image, quality, media::ChromaSubsampling::k422);
    return media::JpegCodec::Decode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    static_cast<std::size_t>(bytes.size()));
}

}  // namespace zv::test
