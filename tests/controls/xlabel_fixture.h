#pragma once

#include "controls/xlabel.h"
#include "support/wait.h"

#include <QCoreApplication>
#include <QImage>
#include <QPaintEvent>
#include <QTimerEvent>
#include <QWindow>

#include <gtest/gtest.h>

namespace zv::test {

inline constexpr ColorRef kYellow = Rgb(255, 255, 0);
inline constexpr ColorRef kRed = Rgb(244, 67, 54);
inline constexpr ColorRef kBlack = Rgb(0, 0, 0);
inline constexpr ColorRef kWhite = Rgb(255, 255, 255);
inline constexpr ColorRef kGrey = Rgb(128, 128, 128);

inline QRgb Pixel(ColorRef colour) {
    return qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

inline int CountPixels(const QImage& image, ColorRef colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xFFFFFFu) == (Pixel(colour) & 0xFFFFFFu) ? 1 : 0;
        }
    }
    return count;
}

// Bounding box of the pixels that differ from `background`.
inline QRect InkBox(const QImage& image, ColorRef background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFu) != (Pixel(background) & 0xFFFFFFu)) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

// A label that counts its paints.
class CountingLabel : public CXLabel {
public:
    using CXLabel::CXLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        CXLabel::paintEvent(event);
    }
};

// A parent that counts its paints and fills itself with its window colour.
class CountingParent : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* /*event*/) override { ++paints; }
};

// A 250 x 60 centred label in a 400 x 200 parent, in a 13-pixel font.
class XLabelTest : public testing::Test {
protected:
    XLabelTest() {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        parent.setFont(font);
        parent.resize(400, 200);
        label = new CountingLabel(&parent);
        label->setGeometry(10, 10, 250, 60);
        label->PreSubclassWindow(1014, CXLabel::kSsCenter);
    }

    QImage Shot() const { return label->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Sends one flash-timer tick, as the widget's timer does.
    void Tick() const {
        QTimerEvent tick(label->FlashTimerId());
        QCoreApplication::sendEvent(label, &tick);
    }

    // Big red text on yellow: the status line's look.
    void StatusLook(const QString& text = QStringLiteral("No Device")) const {
        label->SetBold(true).SetPointSize(20).SetTextColor(kRed).SetBackground(kYellow).SetText(
            text);
    }

    void ShowParent() {
        parent.show();
        ASSERT_TRUE(test::WaitUntil(
            [this] { return parent.windowHandle() && parent.windowHandle()->isExposed(); }));
    }

    CountingParent parent;
    CountingLabel* label = nullptr;
};

}  // namespace zv::test
