#pragma once

#include "platform/status.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace zv {

// A small picture of a saved scan, for the window's list of the last scans.
struct Thumbnail {
    QString path;
    // Null when it could not be made; `status` says why.
    QImage image;
    // kOk; the read's StatusFromErrno (a file gone or unreadable); kBadImage for a file that is
    // not a whole JPEG image or is larger than any scan.
    Status status = kOk;
};

// Reads the JPEG file at `path`, decodes it at the smallest DCT scale that still covers `box`
// (a full-size scan costs 1/64 of a full decode) and scales it down to fit inside `box` with its
// shape kept. Stateless; any thread, meant for a worker thread.
Thumbnail MakeThumbnail(const QString& path, QSize box);

}  // namespace zv
