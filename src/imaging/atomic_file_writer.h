#pragma once

#include "platform/status.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace zv {

// Creates a new file whole or not at all. The bytes go to a hidden temporary file in the same
// folder, are flushed to the disk, and the file is then moved to its name without replacing
// anything already there. A crash, a full disk or an I/O error never leaves a partial file at the
// path, and an existing file (an earlier scan) is never overwritten. Stateless; any thread may
// call.
class AtomicFileWriter {
public:
    // `path` is in the file system's encoding (QFile::encodeName). kOk when the file and its
    // folder entry are on the disk; otherwise StatusFromErrno of the failing call (EEXIST when
    // something already has the name), with no file left at the path and no temporary file left
    // in the folder.
    static Status WriteNew(const QByteArray& path, const std::uint8_t* data, std::size_t size);
};

}  // namespace zv
