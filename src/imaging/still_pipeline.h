#pragma once

#include "imaging/jpeg_row_encoder.h"
#include "platform/status.h"

#include <QByteArray>
#include <QRect>
#include <QSize>

#include <cstddef>
#include <cstdint>

namespace zv {

// Turns a still frame into the bytes of the output JPEG. The calling thread decodes the frame row
// by row; one helper thread draws the target in runs of rows, each as soon as the frame rows it
// reads are decoded, and encodes each run at once. Decoding and drawing plus encoding so overlap
// on two cores, and the target never exists whole. The helper has ended when Run returns.
class StillPipeline {
public:
    // Target rows drawn and encoded together.
    static constexpr int kRunRows = 32;
    // Frame rows decoded between two hand-offs.
    static constexpr int kDecodeRows = 16;

    // `band` is in the frame's pixels (see SourceBand). kOk and the file, with `header`, in
    // `jpeg`; kBadImage for a frame that is not a whole, clean JPEG image (found out even after
    // the band's last row); kInvalidArg when no pixel of the frame falls in the band;
    // kOutOfMemory, kFail otherwise.
    static Status Run(const std::uint8_t* frame, std::size_t length, const QRect& band,
                      QSize target, const JpegFileHeader& header, QByteArray* jpeg);
};

}  // namespace zv
