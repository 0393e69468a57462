#pragma once

#include "platform/status.h"

#include <QByteArray>
#include <QString>

namespace zv {

// What may be created when the folder of a new file is missing.
enum class FolderCreation {
    kNone,        // the folder must exist
    kLastLevel,   // the folder itself, when its parent exists
    kWithParents  // the folder and every missing folder above it
};

// The folder a new file goes to: found from the file's path, checked and created right before
// the file is written. Stateless; any thread may call.
class OutputFolder {
public:
    // The folder part of `path` ("." for a bare name, "/" at the root).
    static QByteArray Of(const QByteArray& path);

    // Makes sure `folder` is a folder, creating what `creation` allows. kOk, or StatusFromErrno of
    // the failing call: ENOENT (the folder, or with kLastLevel its parent, is missing), ENOTDIR
    // (a file is in the way), EACCES, EROFS, ENOSPC, ...
    static Status Prepare(const QByteArray& folder, FolderCreation creation);

    // The file system's bytes of `path` (QFile::encodeName). Bytes that are not valid UTF-8 reach
    // a QString as U+FFFD, and their bytes cannot be had back; writing under the name read would
    // put the file into another folder. So a path whose folders hold U+FFFD is refused with
    // kNoUnicodeTranslation unless the deepest such folder exists under the name as read (a real
    // U+FFFD in its name); folders below that one may still be created.
    static Status Encode(const QString& path, QByteArray* bytes);
};

}  // namespace zv
