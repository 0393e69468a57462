#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>

namespace zv::sim {

// Where things stand in one frame of the simulated film: a landscape of sky, sun, hills, lake and
// a house. Positions are fractions of the picture's width and height, so one layout paints at any
// size. Frame 0 is the scanner's classic picture; every other frame number gives another layout,
// the same one every time, and neighbouring frames differ in more than details (the house and the
// sun change sides), as the frames of a real roll do.
struct SceneLayout {
    QColor skyTop{40, 90, 190};
    QColor skyHorizon{170, 205, 235};
    QPointF sun{0.75, 0.2};
    double sunRadius = 0.09;  // of the height
    // The hills' ridge: heights at the left edge, two control points and the right edge.
    double ridgeLeft = 0.62;
    QPointF ridgeControl1{0.25, 0.45};
    QPointF ridgeControl2{0.5, 0.7};
    double ridgeRight = 0.5;
    QColor hills{60, 130, 50};
    double lakeTop = 0.82;
    QColor lake{30, 80, 130};
    // The house: left edge of its walls, their colour.
    double houseLeft = 0.18;
    QColor house{190, 40, 35};

    static SceneLayout ForFrame(int frameNumber);

    // The picture at `width` x `height`, Format_RGB32.
    QImage Paint(int width, int height) const;
};

}  // namespace zv::sim
