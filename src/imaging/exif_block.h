#pragma once

#include "imaging/scan_metadata.h"

#include <QByteArray>

namespace zv {

// Builds the Exif block of a saved scan with libexif: the payload of the JPEG's APP1 segment,
// starting "Exif\0\0", in Intel byte order. Picture IFD: ImageDescription, Make, Model,
// Orientation 1 (rows top to bottom, columns left to right), XResolution, YResolution and
// ResolutionUnit 2 (inches), Software. Exif IFD: ExifVersion 0232, DateTimeOriginal and
// DateTimeDigitized with their OffsetTime and SubSecTime (the scan's local time to the
// millisecond and its offset from UTC), UserComment (ASCII). Texts are written as UTF-8. Stateless;
// any thread may call.
class ExifBlock {
public:
    // The largest APP1 payload a JPEG segment holds.
    static constexpr int kMaxSize = 65533;
    // Texts longer than this (in bytes) are cut: a USB string never comes near it.
    static constexpr int kMaxTextBytes = 4096;

    // Empty when libexif cannot build it (out of memory).
    static QByteArray Build(const ScanMetadata& metadata);
};

}  // namespace zv
