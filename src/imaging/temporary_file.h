#pragma once

#include "platform/status.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

namespace zv {

// The file that a new file's bytes go to before it gets its name. Where the file system allows
// it, the file has no name at all (O_TMPFILE) until it is linked into place, so a process killed
// while writing leaves nothing behind. Elsewhere it is a hidden file in the final name's folder
// (TemporaryFileName), locked while open, so that a sweep for stale ones never takes a live one.
// Until it is placed, the destructor removes whatever the file left. Used by one thread.
class TemporaryFile {
public:
    enum class Kind {
        kUnnamedWherePossible,
        kNamed,  // always the hidden named file (what file systems without O_TMPFILE get)
    };

    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the file in the folder of `path`. StatusFromErrno of the failing call.
    Status Create(const QByteArray& path, Kind kind);
    // Writes all bytes and flushes them to the disk.
    Status Write(const std::uint8_t* data, std::size_t size);
    // Gives the written file the name `path` unless something has it already (EEXIST then; the
    // file stays ready for another name).
    Status Place(const QByteArray& path);
    // After Place: closes the file. A delayed write error (network file systems) shows here, and
    // the caller must then remove the placed name again.
    Status Close();

private:
    Status CreateUnnamed(const QByteArray& folder);
    Status CreateNamed(const QByteArray& path);

    QByteArray m_name;  // the hidden name until placed; empty for an unnamed file
    int m_fd = -1;
};

}  // namespace zv
