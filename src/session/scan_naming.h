#pragma once

#include <QDateTime>
#include <QSize>
#include <QSizeF>
#include <QString>

namespace zv {

// Names and sizes of saved scans.
//   film type: 0 "slide", 1 "negative", 2 "bw", anything else empty;
//   film size index: 0 "135", 1 "126", anything else empty;
//   resolution index: 0 "5M", anything else "16M" (whatever the film size).
QString FilmTypeName(int filmType);
QString FilmSizeName(int filmSizeIndex);
QString ResolutionName(int resolutionIndex);

// The output size for a film size and resolution: 2592x1728 / 5184x3456 for 135,
// 1497x1497 / 2995x2995 for 126, an empty size for every other combination.
QSize OutputSize(int filmSizeIndex, int resolutionIndex);

// The picture's size on the film: 36 x 24 mm for 135, 28 x 28 mm for 126, an empty size for
// every other film size index.
QSizeF FilmFrameMillimetres(int filmSizeIndex);

// The output's resolution on the film in whole dots per inch (output pixels over the film frame's
// size): 3658 x 3658 for a 5184 x 3456 scan of 135 film; an empty size when either is unknown.
QSize DotsPerInch(int filmSizeIndex, int resolutionIndex);

// "<folder>/ZevuVora_<type>_<size>_<resolution>_<yyyyMMdd>_<hhmmsszzz>.jpg". The folder is used
// as given, so a folder with a final '/' yields two in a row, which the file system reads as one.
QString ScanFileName(const QString& folder, int filmType, int filmSizeIndex, int resolutionIndex,
                     const QDateTime& localTime);

}  // namespace zv
