#pragma once

#include <QFont>
#include <QRect>

namespace zv {

// Converts dialog units of a dialog font into pixels: one horizontal unit is a quarter of the
// font's average character width, one vertical unit an eighth of its height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    DialogUnits(int averageCharWidth, int charHeight)
        : m_averageCharWidth(averageCharWidth), m_charHeight(charHeight) {}

    int ToPixelsX(int units) const { return units * m_averageCharWidth / 4; }
    int ToPixelsY(int units) const { return units * m_charHeight / 8; }
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_averageCharWidth;
    int m_charHeight;
};

}  // namespace zv
