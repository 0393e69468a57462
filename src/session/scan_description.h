#pragma once

#include "imaging/scan_metadata.h"
#include "session/save_settings.h"

#include <QDateTime>
#include <QSize>
#include <QString>

namespace zv {

// What a saved scan says of itself (its Exif block), in English whatever the window's language:
// metadata is read by programs and archives.

// "Negative film, 135, 5184x3456": the film type, the film size and the output size.
QString FilmDescription(int filmType, int filmSizeIndex, QSize output);

// "Saturation 64, Brightness 0, Contrast 32, R 0, G 0, B 0, Gamma 100".
QString AdjustmentsComment(const ScanAdjustments& adjustments);

// The metadata of a frame saved at `scanned` with `settings`: the time, the scanner's names, the
// program's name and version, the description above, the adjustments and the resolution on the
// film (see DotsPerInch).
ScanMetadata DescribeScan(const SaveSettings& settings, const QDateTime& scanned);

}  // namespace zv
