#pragma once

// One run of the still writer on arbitrary bytes, shared by the libFuzzer target and the corpus
// replay test: the bytes are the frame; the still format is a fixed 160 x 120, so frames of every
// other size exercise a decoded picture that disagrees with its format. Whatever is written is
// removed again.

#include "imaging/jpeg_writer.h"

#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <limits>

namespace zv::fuzz {

inline constexpr std::int32_t kStillWidth = 160;
inline constexpr std::int32_t kStillHeight = 120;
inline constexpr std::int32_t kTargetWidth = 96;
inline constexpr std::int32_t kTargetHeight = 64;

inline Status WriteStillFrame(const std::uint8_t* data, std::size_t size, const QString& folder) {
    if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return kInvalidArg;
    }
    const QString path = folder + QStringLiteral("/still.jpg");
    const Status status = WriteJpeg(data, static_cast<std::int32_t>(size), kStillWidth,
                                    kStillHeight, path, kTargetWidth, kTargetHeight);
    QFile::remove(path);
    return status;
}

}  // namespace zv::fuzz
