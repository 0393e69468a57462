#pragma once

#include "platform/sim/picture_parameters.h"

#include <QImage>
#include <QSize>

namespace zv::sim {

// One frame of the simulated scanner's film: a colour landscape (SceneLayout) stored as a colour
// negative with its orange mask, made once at a modest size. Render applies what the scanner
// applies (film type inversion, colour levels, brightness, contrast, gamma, saturation) on that
// small scene and scales the result to the frame size, so a frame costs little beyond the scaling.
// Immutable after construction: any thread may render at once.
class FilmScene {
public:
    static constexpr int kSceneWidth = 800;
    static constexpr int kSceneHeight = 600;

    explicit FilmScene(int frameNumber = 0);

    int FrameNumber() const { return m_frameNumber; }

    // The frame the scanner delivers for `settings` at `size` (Format_RGB32). The scene is cut
    // to the frame's proportions around its centre.
    QImage Render(const PictureSettings& settings, QSize size) const;

    // The stored negative, and the positive it was made from (for comparisons).
    const QImage& Negative() const { return m_negative; }
    const QImage& Positive() const { return m_positive; }

    // Orange mask transmission of the red, green and blue layers, in 1/255.
    static constexpr int kMaskRed = 255;
    static constexpr int kMaskGreen = 158;
    static constexpr int kMaskBlue = 97;

private:
    int m_frameNumber = 0;
    QImage m_positive;
    QImage m_negative;
};

}  // namespace zv::sim
