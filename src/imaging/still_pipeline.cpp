#include "imaging/still_pipeline.h"

#include "imaging/band_mapping.h"
#include "imaging/band_painter.h"
#include "imaging/jpeg_row_decoder.h"
#include "imaging/jpeg_row_encoder.h"
#include "imaging/row_progress.h"

#include <QImage>

#include <algorithm>
#include <system_error>
#include <thread>

namespace zv {

namespace {

// The decoded frame: written by the decoding thread, read by the drawing thread only in rows
// that RowProgress has published.
struct FrameRows {
    uchar* bits;
    qsizetype stride;
    int width;
    int height;
};

// Decoding thread: decodes the frame rows `used` and passes over the others, whose data is still
// checked. Stops early when the drawing side failed; its own failure stops that side.
Status DecodeAll(JpegRowDecoder* decoder, const FrameRows& frame, BandMapping::Rows used,
                 RowProgress* progress) {
    Status status = decoder->SkipRows(used.begin);
    while (status == kOk && decoder->RowsDone() < used.end) {
        int decoded = 0;
        const int row = decoder->RowsDone();
        status = decoder->ReadRows(frame.bits + row * frame.stride, frame.stride,
                                   std::min(StillPipeline::kDecodeRows, used.end - row), &decoded);
        progress->Publish(row + decoded);
        if (progress->Failure() != kOk) {
            return kOk;  // the drawing side's failure is the outcome
        }
    }
    if (status == kOk) {
        status = decoder->SkipRows(frame.height - decoder->RowsDone());
    }
    if (status == kOk) {
        // Damage after the last row (a missing end marker) still fails the frame.
        status = decoder->Finish();
    }
    if (status != kOk) {
        progress->Fail(status);
    }
    return status;
}

// Frame rows at the target's size: encoded as they are, no drawing.
Status EncodeUnscaled(const BandMapping& mapping, const FrameRows& frame, RowProgress* progress,
                      JpegRowEncoder* encoder) {
    const int height = mapping.Target().height();
    for (int top = 0; top < height; top += StillPipeline::kRunRows) {
        const int rows = std::min(StillPipeline::kRunRows, height - top);
        const int first = mapping.BandTop() + top;
        if (!progress->WaitFor(first + rows)) {
            return progress->Failure();
        }
        const Status status =
            encoder->WriteRows(frame.bits + first * frame.stride, frame.stride, rows);
        if (status != kOk) {
            return status;
        }
    }
    return kOk;
}

Status EncodeDrawn(const BandMapping& mapping, const FrameRows& frame, RowProgress* progress,
                   JpegRowEncoder* encoder) {
    BandPainter painter(mapping, frame.bits, frame.stride, frame.width, StillPipeline::kRunRows);
    if (!painter.IsValid()) {
        return kOutOfMemory;
    }
    const int height = mapping.Target().height();
    for (int top = 0; top < height; top += StillPipeline::kRunRows) {
        const int rows = std::min(StillPipeline::kRunRows, height - top);
        const BandMapping::Rows source = mapping.SourceRows(top, top + rows);
        if (!source.IsEmpty() && !progress->WaitFor(source.end)) {
            return progress->Failure();
        }
        const QImage& run = painter.Paint(top, rows);
        const Status status = encoder->WriteRows(run.constBits(), run.bytesPerLine(), rows);
        if (status != kOk) {
            return status;
        }
    }
    return kOk;
}

// Drawing thread: the whole output file, or the failure that stopped it.
Status Encode(const BandMapping& mapping, const FrameRows& frame, const JpegFileHeader& header,
              RowProgress* progress, QByteArray* jpeg) {
    JpegRowEncoder encoder;
    Status status = encoder.Start(mapping.Target(), header);
    if (status == kOk) {
        status = mapping.IsUnscaled() ? EncodeUnscaled(mapping, frame, progress, &encoder)
                                      : EncodeDrawn(mapping, frame, progress, &encoder);
    }
    if (status == kOk) {
        status = encoder.Finish(jpeg);
    }
    if (status != kOk) {
        progress->Fail(status);
    }
    return status;
}

}  // namespace

Status StillPipeline::Run(const std::uint8_t* data, std::size_t length, const QRect& band,
                          QSize target, const JpegFileHeader& header, QByteArray* jpeg) {
    jpeg->clear();
    JpegRowDecoder decoder;
    Status status = decoder.Open(data, length);
    if (status != kOk) {
        return status;
    }
    const BandMapping mapping(decoder.Size(), band, target);
    if (mapping.IsEmpty()) {
        return kInvalidArg;
    }
    QImage decoded(decoder.Size(), QImage::Format_RGB32);
    if (decoded.isNull()) {
        return kOutOfMemory;
    }
    // bits() may detach: taken once, here, before the helper starts.
    const FrameRows frame{decoded.bits(), decoded.bytesPerLine(), decoded.width(),
                          decoded.height()};
    RowProgress progress;
    QByteArray encoded;
    Status encodeStatus = kOk;
    std::thread helper;
    try {
        helper = std::thread(
            [&] { encodeStatus = Encode(mapping, frame, header, &progress, &encoded); });
    } catch (const std::system_error&) {
        // No thread to be had: decode first, then draw and encode on this thread.
    }
    // Only the rows of the band are drawn from.
    const QRect visible = mapping.Visible();
    const Status decodeStatus =
        DecodeAll(&decoder, frame, {visible.top(), visible.bottom() + 1}, &progress);
    if (helper.joinable()) {
        helper.join();
    } else if (decodeStatus == kOk) {
        encodeStatus = Encode(mapping, frame, header, &progress, &encoded);
    }
    if (decodeStatus != kOk) {
        return decodeStatus;
    }
    if (encodeStatus == kOk) {
        *jpeg = std::move(encoded);
    }
    return encodeStatus;
}

}  // namespace zv
