#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>

namespace zv::test {

// A JPEG frame of the given size as a scanner delivers it: a gradient with a few shapes, so that
// scaling and cutting show in the pixels.
inline QByteArray MakeJpegFrame(int width, int height, int quality = 90) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(30, 60, 200));
    gradient.setColorAt(1, QColor(230, 180, 40));
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(width / 4, height / 4, width / 2, height / 2), QColor(200, 30, 30));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return bytes;
}

inline const std::uint8_t* Bytes(const QByteArray& array) {
    return reinterpret_cast<const std::uint8_t*>(array.constData());
}

}  // namespace zv::test
