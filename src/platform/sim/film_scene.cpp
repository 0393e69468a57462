#include "platform/sim/film_scene.h"

#include "platform/sim/scene_layout.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace zv::sim {

namespace {

// How much of the mask a fully exposed layer still lets through.
constexpr double kBaseDensity = 0.1;

// A positive layer value (0..1) as the negative's transmission through the orange mask.
int ToNegative(int positive, int mask) {
    const double exposure = positive / 255.0;
    return static_cast<int>(std::lround(mask * (1.0 - (1.0 - kBaseDensity) * exposure)));
}

// What the scanner makes of one layer value of the film: inversion (film type 1) with the mask
// taken out, then level gain, brightness, contrast and gamma.
std::array<std::uint8_t, 256> LayerCurve(const PictureSettings& settings, int mask, int level) {
    const bool negative = settings.Get(PictureProperty::kFilmType) == 1;
    const double brightness = settings.Get(PictureProperty::kBrightness) / 256.0;
    const double contrast = settings.Get(PictureProperty::kContrast) / 50.0;
    const double exponent = 300.0 / settings.Get(PictureProperty::kGamma);
    std::array<std::uint8_t, 256> curve{};
    for (int value = 0; value < 256; ++value) {
        double x = value / 255.0;
        if (negative) {
            x = (1.0 - x * 255.0 / mask) / (1.0 - kBaseDensity);
        }
        x = std::clamp(x * level / 128.0 + brightness, 0.0, 1.0);
        x = std::clamp((x - 0.5) * contrast + 0.5, 0.0, 1.0);
        x = std::pow(x, exponent);
        curve[static_cast<std::size_t>(value)] = static_cast<std::uint8_t>(std::lround(x * 255.0));
    }
    return curve;
}

}  // namespace

FilmScene::FilmScene(int frameNumber)
    : m_frameNumber(frameNumber),
      m_positive(SceneLayout::ForFrame(frameNumber).Paint(kSceneWidth, kSceneHeight)) {
    m_negative = QImage(m_positive.size(), QImage::Format_RGB32);
    for (int y = 0; y < m_positive.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(m_positive.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(m_negative.scanLine(y));
        for (int x = 0; x < m_positive.width(); ++x) {
            out[x] = qRgb(ToNegative(qRed(in[x]), kMaskRed), ToNegative(qGreen(in[x]), kMaskGreen),
                          ToNegative(qBlue(in[x]), kMaskBlue));
        }
    }
}

QImage FilmScene::Render(const PictureSettings& settings, QSize size) const {
    if (size.isEmpty()) {
        return {};
    }
    // The largest part of the scene with the frame's proportions, around the centre.
    const qint64 sceneWidth = m_negative.width();
    const qint64 sceneHeight = m_negative.height();
    const QSize crop(static_cast<int>(std::clamp<qint64>(sceneHeight * size.width() / size.height(),
                                                         1, sceneWidth)),
                     static_cast<int>(std::clamp<qint64>(sceneWidth * size.height() / size.width(),
                                                         1, sceneHeight)));
    QImage picture = m_negative.copy(QRect(
        QPoint((m_negative.width() - crop.width()) / 2, (m_negative.height() - crop.height()) / 2),
        crop));
    const auto red = LayerCurve(settings, kMaskRed, settings.Get(PictureProperty::kRedLevel));
    const auto green = LayerCurve(settings, kMaskGreen, settings.Get(PictureProperty::kGreenLevel));
    const auto blue = LayerCurve(settings, kMaskBlue, settings.Get(PictureProperty::kBlueLevel));
    const int saturation = settings.Get(PictureProperty::kSaturation);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int r = red[static_cast<std::size_t>(qRed(line[x]))];
            const int g = green[static_cast<std::size_t>(qGreen(line[x]))];
            const int b = blue[static_cast<std::size_t>(qBlue(line[x]))];
            const int luma = (77 * r + 150 * g + 29 * b) >> 8;
            const auto mix = [&](int c) {
                return std::clamp(luma + (c - luma) * saturation / 50, 0, 255);
            };
            line[x] = qRgb(mix(r), mix(g), mix(b));
        }
    }
    if (picture.size() == size) {
        return picture;
    }
    QImage frame(size, QImage::Format_RGB32);
    QPainter painter(&frame);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(frame.rect(), picture);
    painter.end();
    return frame;
}

}  // namespace zv::sim
