// Draws the program's artwork (window icon sizes and the no-device picture) as PNG files.
// Run by hand when the artwork changes; the PNGs are checked in under resources/icons/.
//   g++ -std=c++20 -fPIC make_artwork.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_artwork
//   QT_QPA_PLATFORM=offscreen /tmp/make_artwork resources/icons
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// A strip of film with sprocket holes and one exposed frame in the middle.
void DrawFilmFrame(QPainter& painter, const QRectF& box, bool connected) {
    const qreal unit = box.width() / 32.0;
    const QRectF strip = box.adjusted(unit, 4 * unit, -unit, -4 * unit);
    painter.setPen(Qt::NoPen);
    painter.setBrush(connected ? QColor(38, 30, 26) : QColor(96, 96, 96));
    painter.drawRoundedRect(strip, 2 * unit, 2 * unit);

    painter.setBrush(connected ? QColor(236, 226, 206) : QColor(200, 200, 200));
    for (int i = 0; i < 7; ++i) {
        const qreal x = strip.left() + 2 * unit + i * 4 * unit;
        painter.drawRoundedRect(QRectF(x, strip.top() + unit, 2 * unit, 2 * unit), 0.5 * unit,
                                0.5 * unit);
        painter.drawRoundedRect(QRectF(x, strip.bottom() - 3 * unit, 2 * unit, 2 * unit),
                                0.5 * unit, 0.5 * unit);
    }

    const QRectF frame = strip.adjusted(3 * unit, 4 * unit, -3 * unit, -4 * unit);
    QLinearGradient sky(frame.topLeft(), frame.bottomLeft());
    sky.setColorAt(0, connected ? QColor(66, 133, 214) : QColor(150, 150, 150));
    sky.setColorAt(1, connected ? QColor(255, 196, 120) : QColor(205, 205, 205));
    painter.setBrush(sky);
    painter.drawRect(frame);

    painter.save();
    painter.setClipRect(frame);
    painter.setBrush(connected ? QColor(255, 224, 90) : QColor(230, 230, 230));
    painter.drawEllipse(QPointF(frame.right() - 4 * unit, frame.top() + 3 * unit), 1.8 * unit,
                        1.8 * unit);
    QPainterPath hills;
    hills.moveTo(frame.left(), frame.bottom());
    hills.lineTo(frame.left(), frame.bottom() - 3 * unit);
    hills.quadTo(frame.left() + 7 * unit, frame.top() + 2 * unit, frame.center().x(),
                 frame.bottom() - 4 * unit);
    hills.quadTo(frame.right() - 5 * unit, frame.bottom() - 7 * unit, frame.right(),
                 frame.bottom() - 2 * unit);
    hills.lineTo(frame.right(), frame.bottom());
    painter.setBrush(connected ? QColor(56, 142, 60) : QColor(120, 120, 120));
    painter.drawPath(hills);
    painter.restore();
}

QImage Render(int size, bool connected) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawFilmFrame(painter, QRectF(0, 0, size, size), connected);
    if (!connected) {
        // A loose cable end: the scanner is not there.
        const qreal unit = size / 32.0;
        QPen pen(QColor(244, 67, 54), 2 * unit, Qt::SolidLine, Qt::RoundCap);
        painter.setPen(pen);
        painter.drawLine(QPointF(22 * unit, 22 * unit), QPointF(29 * unit, 29 * unit));
        painter.drawLine(QPointF(29 * unit, 22 * unit), QPointF(22 * unit, 29 * unit));
    }
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (int size : {32, 48, 64, 128, 256}) {
        Render(size, true).save(QStringLiteral("%1/zevuvora-%2.png").arg(out).arg(size));
    }
    Render(96, false).save(out + QStringLiteral("/no-device.png"));
    return 0;
}
