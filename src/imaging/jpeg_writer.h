#pragma once

#include "imaging/output_folder.h"
#include "imaging/scan_metadata.h"
#include "platform/status.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace zv {

// What WriteJpeg does beyond the pixels: the file's folder, a taken name, the metadata.
struct JpegFileOptions {
    // Created right before the file is written, after the frame has been decoded and encoded.
    FolderCreation folder = FolderCreation::kNone;
    // A taken name fails with EEXIST, or the file gets the first free name with "_2", "_3", ...
    // before ".jpg".
    bool numberTakenName = false;
    // Written into the file's header as its Exif block (see ExifBlock), its resolution also as
    // the JFIF density. Without it the file carries no metadata.
    std::optional<ScanMetadata> metadata;
};

// Turns one still frame, as the scanner delivered it, into the output file: decodes the frame (a
// whole JPEG or motion-JPEG image), cuts the band of the target's aspect ratio out of it (see
// SourceBand), draws the band onto the whole target with plain bilinear interpolation and writes
// the picture as a JPEG of quality 100 with full-resolution chroma.
//
// The frame is copied at once; the caller's buffer is not used after the copy. The source size is
// the still format's, not read from the image; parts of the band outside the decoded frame (above
// and below a frame wider than the target's shape) are black.
//
// Returns kOk only when the whole file is on the disk. Otherwise no file is left at `path`:
// StatusFromErrno of the failing system call for folder and write failures (ENOENT a missing
// folder, EACCES/EPERM/EROFS no permission, ENOSPC/EDQUOT/EFBIG no room, ENOTDIR a file in the
// way, EEXIST when the path is taken: an earlier file is never replaced), kNoUnicodeTranslation
// for a folder name that was not valid UTF-8 (see OutputFolder::Encode), kBadImage for a frame
// that is not a whole decodable image, kInvalidArg for sizes that give no picture.
//
// Stateless; runs on whichever thread calls it (the still output's streaming thread), which
// decodes, while one helper thread of its own draws and encodes; the helper has ended when
// WriteJpeg returns.
Status WriteJpeg(const std::uint8_t* frame, std::int32_t length, std::int32_t sourceWidth,
                 std::int32_t sourceHeight, const QString& path, std::int32_t targetWidth,
                 std::int32_t targetHeight);

// The same with `options`; on success `*writtenPath` (when given) is the file's name, which
// differs from `path` when a taken name was numbered.
Status WriteJpeg(const std::uint8_t* frame, std::int32_t length, std::int32_t sourceWidth,
                 std::int32_t sourceHeight, const QString& path, std::int32_t targetWidth,
                 std::int32_t targetHeight, const JpegFileOptions& options, QString* writtenPath);

}  // namespace zv
