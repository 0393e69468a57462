#include "imaging/jpeg_writer.h"

#include "imaging/atomic_file_writer.h"
#include "imaging/exif_block.h"
#include "imaging/imaging_status.h"
#include "imaging/source_band.h"
#include "imaging/still_pipeline.h"

#include <QFile>

#include <memory>

namespace zv {

namespace {

JpegFileHeader HeaderFor(const std::optional<ScanMetadata>& metadata) {
    JpegFileHeader header;
    if (metadata) {
        header.exif = ExifBlock::Build(*metadata);
        header.dotsPerInch = QSize(metadata->dotsPerInchX, metadata->dotsPerInchY);
    }
    return header;
}

}  // namespace

Status WriteJpeg(const std::uint8_t* frame, std::int32_t length, std::int32_t sourceWidth,
                 std::int32_t sourceHeight, const QString& path, std::int32_t targetWidth,
                 std::int32_t targetHeight) {
    return WriteJpeg(frame, length, sourceWidth, sourceHeight, path, targetWidth, targetHeight,
                     JpegFileOptions{}, nullptr);
}

Status WriteJpeg(const std::uint8_t* frame, std::int32_t length, std::int32_t sourceWidth,
                 std::int32_t sourceHeight, const QString& path, std::int32_t targetWidth,
                 std::int32_t targetHeight, const JpegFileOptions& options, QString* writtenPath) {
    if (frame == nullptr || length <= 0) {
        return kBadImage;
    }
    const std::optional<SourceBand> band =
        SourceBand::Of(sourceWidth, sourceHeight, targetWidth, targetHeight);
    if (!band) {
        return kInvalidArg;
    }
    QByteArray filePath;
    Status status = OutputFolder::Encode(path, &filePath);
    if (status != kOk) {
        return status;
    }

    // Our own copy: the decoder reads memory the writer owns, not the grabber's buffer.
    const auto size = static_cast<std::size_t>(length);
    const std::unique_ptr<std::uint8_t[]> copy(new (std::nothrow) std::uint8_t[size]);
    if (!copy) {
        return kOutOfMemory;
    }
    std::copy(frame, frame + size, copy.get());

    QByteArray jpeg;
    status =
        StillPipeline::Run(copy.get(), size, QRect(0, band->y, sourceWidth, band->height),
                           QSize(targetWidth, targetHeight), HeaderFor(options.metadata), &jpeg);
    if (status == kOk) {
        // Only now: a folder made for a frame that then fails would be left empty.
        status = OutputFolder::Prepare(OutputFolder::Of(filePath), options.folder);
    }
    if (status != kOk) {
        return status;
    }
    NewFileOptions fileOptions;
    fileOptions.taken = options.numberTakenName ? NewFileOptions::TakenName::kNumber
                                                : NewFileOptions::TakenName::kRefuse;
    QByteArray written;
    status = AtomicFileWriter::WriteNew(
        filePath, reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
        static_cast<std::size_t>(jpeg.size()), fileOptions, &written);
    if (status == kOk && writtenPath != nullptr) {
        *writtenPath = QFile::decodeName(written);
    }
    return status;
}

}  // namespace zv
