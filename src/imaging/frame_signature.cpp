#include "imaging/frame_signature.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zv {

namespace {

// Pixels sampled along each side of a cell at most: enough that noise averages out, few enough
// that a full-size preview costs a fraction of its decoding.
constexpr int kSamplesPerCellSide = 16;

constexpr double kMaxDistance = 2.0;

// The mean luma of each cell, row by row, from every step-th pixel of every step-th line.
std::vector<double> CellMeans(const QImage& image) {
    const int width = image.width();
    const int height = image.height();
    const int step = std::max(1, std::min(width / (FrameSignature::kColumns * kSamplesPerCellSide),
                                          height / (FrameSignature::kRows * kSamplesPerCellSide)));
    std::vector<double> sums(FrameSignature::kColumns * FrameSignature::kRows, 0.0);
    std::vector<int> counts(sums.size(), 0);
    for (int y = 0; y < height; y += step) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const std::size_t rowBase =
            static_cast<std::size_t>(y * FrameSignature::kRows / height) * FrameSignature::kColumns;
        for (int x = 0; x < width; x += step) {
            const QRgb pixel = line[x];
            const std::size_t cell =
                rowBase + static_cast<std::size_t>(x * FrameSignature::kColumns / width);
            sums[cell] += (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel)) / 256.0;
            ++counts[cell];
        }
    }
    for (std::size_t i = 0; i < sums.size(); ++i) {
        sums[i] = counts[i] > 0 ? sums[i] / counts[i] : 0.0;
    }
    return sums;
}

}  // namespace

FrameSignature FrameSignature::Of(const QImage& frame) {
    if (frame.isNull()) {
        return {};
    }
    const QImage image =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    const std::vector<double> means = CellMeans(image);
    double mean = 0;
    for (const double value : means) {
        mean += value;
    }
    mean /= static_cast<double>(means.size());
    double variance = 0;
    for (const double value : means) {
        variance += (value - mean) * (value - mean);
    }
    const double spread =
        std::max(std::sqrt(variance / static_cast<double>(means.size())), kMinSpread);
    std::vector<float> cells(means.size());
    std::transform(means.begin(), means.end(), cells.begin(),
                   [&](double value) { return static_cast<float>((value - mean) / spread); });
    return FrameSignature(std::move(cells));
}

double FrameSignature::DistanceTo(const FrameSignature& other) const {
    if (IsEmpty() || other.IsEmpty()) {
        return kMaxDistance;
    }
    double sum = 0;
    for (std::size_t i = 0; i < m_cells.size(); ++i) {
        sum += std::abs(m_cells[i] - other.m_cells[i]);
    }
    return sum / static_cast<double>(m_cells.size());
}

}  // namespace zv
