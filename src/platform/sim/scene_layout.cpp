#include "platform/sim/scene_layout.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cstdint>
#include <random>

namespace zv::sim {

namespace {

// std::mt19937's output is fixed by the standard (its distributions are not): frame n looks the
// same with every standard library.
class LayoutDice {
public:
    explicit LayoutDice(int frameNumber) : m_engine(static_cast<std::uint32_t>(frameNumber)) {}
    double Between(double low, double high) {
        return low + (high - low) * (static_cast<double>(m_engine()) / 4294967295.0);
    }
    QColor Colour(QColor low, QColor high) {
        return QColor(static_cast<int>(Between(low.red(), high.red())),
                      static_cast<int>(Between(low.green(), high.green())),
                      static_cast<int>(Between(low.blue(), high.blue())));
    }

private:
    std::mt19937 m_engine;
};

void PaintHouse(QPainter& painter, const SceneLayout& layout, double width, double height) {
    const double left = width * layout.houseLeft;
    const double houseWidth = width * 0.16;
    painter.fillRect(QRectF(left, height * 0.5, houseWidth, height * 0.16), layout.house);
    QPainterPath roof;
    roof.moveTo(left - width * 0.02, height * 0.5);
    roof.lineTo(left + houseWidth / 2, height * 0.4);
    roof.lineTo(left + houseWidth + width * 0.02, height * 0.5);
    painter.fillPath(roof, QColor(70, 45, 40));
    painter.fillRect(QRectF(left + width * 0.05, height * 0.54, width * 0.04, height * 0.05),
                     QColor(245, 220, 90));
}

}  // namespace

SceneLayout SceneLayout::ForFrame(int frameNumber) {
    SceneLayout layout;
    if (frameNumber == 0) {
        return layout;
    }
    LayoutDice dice(frameNumber);
    // Odd frames put the house on the right and the sun on the left, even frames the other way.
    const bool houseRight = frameNumber % 2 != 0;
    layout.houseLeft = houseRight ? dice.Between(0.55, 0.75) : dice.Between(0.08, 0.28);
    layout.sun = QPointF(houseRight ? dice.Between(0.12, 0.35) : dice.Between(0.6, 0.88),
                         dice.Between(0.12, 0.3));
    layout.sunRadius = dice.Between(0.05, 0.12);
    layout.skyTop = dice.Colour(QColor(20, 30, 90), QColor(120, 110, 220));
    layout.skyHorizon = dice.Colour(QColor(150, 120, 110), QColor(250, 220, 200));
    layout.ridgeLeft = dice.Between(0.45, 0.7);
    layout.ridgeControl1 = QPointF(dice.Between(0.1, 0.4), dice.Between(0.35, 0.7));
    layout.ridgeControl2 = QPointF(dice.Between(0.5, 0.9), dice.Between(0.35, 0.75));
    layout.ridgeRight = dice.Between(0.45, 0.7);
    layout.hills = dice.Colour(QColor(40, 80, 20), QColor(140, 170, 80));
    layout.lakeTop = dice.Between(0.75, 0.9);
    layout.lake = dice.Colour(QColor(20, 50, 90), QColor(60, 120, 170));
    layout.house = dice.Colour(QColor(120, 20, 20), QColor(230, 200, 160));
    return layout;
}

QImage SceneLayout::Paint(int width, int height) const {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = width;
    const double h = height;
    QLinearGradient sky(0, 0, 0, h * 0.6);
    sky.setColorAt(0, skyTop);
    sky.setColorAt(1, skyHorizon);
    painter.fillRect(image.rect(), sky);
    const QPointF sunCentre(w * sun.x(), h * sun.y());
    QRadialGradient glow(sunCentre, h * sunRadius);
    glow.setColorAt(0, QColor(255, 250, 215));
    glow.setColorAt(1, QColor(250, 200, 90));
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(sunCentre, h * sunRadius, h * sunRadius);
    QPainterPath ridge;
    ridge.moveTo(0, h * ridgeLeft);
    ridge.cubicTo(w * ridgeControl1.x(), h * ridgeControl1.y(), w * ridgeControl2.x(),
                  h * ridgeControl2.y(), w, h * ridgeRight);
    ridge.lineTo(w, h);
    ridge.lineTo(0, h);
    painter.fillPath(ridge, hills);
    painter.fillRect(QRectF(0, h * lakeTop, w, h * (1 - lakeTop)), lake);
    PaintHouse(painter, *this, w, h);
    painter.end();
    return image;
}

}  // namespace zv::sim
