#pragma once

#include <QDateTime>
#include <QString>

namespace zv {

// What a saved scan says of itself in its Exif block. Empty texts are left out.
struct ScanMetadata {
    // The local time of the scan, the instant its file name carries (to the millisecond).
    QDateTime scanned;
    // The scanner's USB manufacturer and product strings.
    QString make;
    QString model;
    // "zevuvora 0.1.0".
    QString software;
    // "Negative film, 135, 5184x3456".
    QString description;
    // The adjustment values as they were written to the scanner.
    QString userComment;
    // Of the picture on the film; 0 when unknown (no resolution is written then).
    int dotsPerInchX = 0;
    int dotsPerInchY = 0;
};

}  // namespace zv
