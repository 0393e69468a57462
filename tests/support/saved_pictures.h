#pragma once

#include "imaging/frame_signature.h"

#include <QImage>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace zv::test {

// How unlike the two most alike of the pictures in `paths` are (FrameSignature distance; 2 for
// fewer than two pictures). Different film frames lie above 0.45, the same frame saved twice
// near 0.
inline double LeastDistance(const QStringList& paths) {
    std::vector<FrameSignature> signatures;
    for (const QString& path : paths) {
        signatures.push_back(FrameSignature::Of(QImage(path)));
    }
    double least = 2.0;
    for (std::size_t i = 0; i < signatures.size(); ++i) {
        for (std::size_t j = i + 1; j < signatures.size(); ++j) {
            least = std::min(least, signatures[i].DistanceTo(signatures[j]));
        }
    }
    return least;
}

}  // namespace zv::test
