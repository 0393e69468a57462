#pragma once

#include "imaging/temporary_file.h"
#include "platform/status.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace zv {

// How AtomicFileWriter::WriteNew names and stages a new file.
struct NewFileOptions {
    // When the path is taken: fail with EEXIST, or take the first free name of the path with
    // "_2", "_3", ... (up to AtomicFileWriter::kMaxNumber) before its extension.
    enum class TakenName { kRefuse, kNumber };
    TakenName taken = TakenName::kRefuse;
    TemporaryFile::Kind temporary = TemporaryFile::Kind::kUnnamedWherePossible;
};

// Creates a new file whole or not at all. The bytes go to a temporary file in the same folder
// (without a name where the file system allows it), are flushed to the disk, and the file then
// gets its name without replacing anything already there. A crash, a kill, a full disk or an I/O
// error never leaves a partial file at the path, and an existing file (an earlier scan) is never
// overwritten. Temporary files that killed writers left in the folder are removed first (once
// per folder and run while none is left). Keeps only the folders it found clean; any thread may
// call.
class AtomicFileWriter {
public:
    static constexpr int kMaxNumber = 99;

    // `path` is in the file system's encoding (QFile::encodeName). kOk when the file is on the
    // disk under the name put into `*written` (when given), its folder entry too where the folder
    // can be opened (a drop-box folder that may be written but not read cannot be synced, and the
    // file is kept). Otherwise StatusFromErrno of the failing call (EEXIST when the name, or every
    // numbered name, is taken), with no file left at the path and no temporary file left in the
    // folder.
    static Status WriteNew(const QByteArray& path, const std::uint8_t* data, std::size_t size,
                           const NewFileOptions& options = {}, QByteArray* written = nullptr);
};

}  // namespace zv
