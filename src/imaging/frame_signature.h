#pragma once

#include <QImage>

#include <utility>
#include <vector>

namespace zv {

// A preview frame reduced to what tells whether the film moved: the mean luma of a grid of
// kColumns x kRows cells, standardised to mean 0 and spread 1. Averaging whole cells drowns
// sensor noise and the preview's JPEG noise; standardising makes a uniform change of brightness
// or gain (lamp flicker, the camera's exposure) no change at all. Plain value; any thread.
class FrameSignature {
public:
    static constexpr int kColumns = 32;
    static constexpr int kRows = 24;
    // A picture whose cells spread less than this (in luma levels) is nearly uniform (an empty
    // holder, a black frame): it is divided by this instead, so its noise is not blown up to the
    // size of a picture.
    static constexpr double kMinSpread = 4.0;

    FrameSignature() = default;
    // Empty for a null image.
    static FrameSignature Of(const QImage& frame);

    bool IsEmpty() const { return m_cells.empty(); }
    // Mean absolute difference of the standardised cells: 0 for the same picture, about 1.1 for
    // two unrelated pictures, at most 2 (a picture against its inverse). An empty signature is
    // unlike everything: 2.
    double DistanceTo(const FrameSignature& other) const;

private:
    explicit FrameSignature(std::vector<float> cells) : m_cells(std::move(cells)) {}

    std::vector<float> m_cells;
};

}  // namespace zv
