#include "imaging/atomic_file_writer.h"

#include "imaging/output_folder.h"
#include "imaging/stale_temporary_sweep.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace zv {

namespace {

// "scan.jpg" numbered 2 is "scan_2.jpg"; a name without an extension gets the number at its end.
QByteArray NumberedName(const QByteArray& path, int number) {
    const qsizetype slash = path.lastIndexOf('/');
    const qsizetype dot = path.lastIndexOf('.');
    const qsizetype at = dot > slash + 1 ? dot : path.size();
    return path.left(at) + '_' + QByteArray::number(number) + path.mid(at);
}

// Gives the file the path, or the first free numbered name; `*placed` says which.
Status PlaceUnderFreeName(TemporaryFile* file, const QByteArray& path,
                          NewFileOptions::TakenName taken, QByteArray* placed) {
    const int last = taken == NewFileOptions::TakenName::kNumber ? AtomicFileWriter::kMaxNumber : 1;
    Status status = kOk;
    for (int number = 1; number <= last; ++number) {
        *placed = number == 1 ? path : NumberedName(path, number);
        status = file->Place(*placed);
        if (status != StatusFromErrno(EEXIST)) {
            break;
        }
    }
    return status;
}

// Makes the folder entry of a new name durable. A folder that cannot be opened (written but not
// read, as a drop box) cannot be synced; file systems that cannot sync a folder say EINVAL. Their
// entries are as durable as they get.
Status SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno == EACCES || errno == EPERM ? kOk : StatusFromErrno(errno);
    }
    Status status = kOk;
    if (::fsync(fd) != 0 && errno != EINVAL) {
        status = StatusFromErrno(errno);
    }
    ::close(fd);
    return status;
}

}  // namespace

Status AtomicFileWriter::WriteNew(const QByteArray& path, const std::uint8_t* data,
                                  std::size_t size, const NewFileOptions& options,
                                  QByteArray* written) {
    if (path.isEmpty() || path.endsWith('/') || path.contains('\0')) {
        return StatusFromErrno(ENOENT);
    }
    const QByteArray folder = OutputFolder::Of(path);
    StaleTemporarySweep::Run(folder);
    TemporaryFile file;
    Status status = file.Create(path, options.temporary);
    if (status == kOk) {
        status = file.Write(data, size);
    }
    QByteArray placed;
    if (status == kOk) {
        status = PlaceUnderFreeName(&file, path, options.taken, &placed);
    }
    if (status != kOk) {
        return status;
    }
    status = file.Close();
    if (status == kOk) {
        status = SyncFolder(folder);
    }
    if (status != kOk) {
        // Placed but not durable: the caller is told it failed, so nothing may remain.
        ::unlink(placed.constData());
        return status;
    }
    if (written != nullptr) {
        *written = placed;
    }
    return kOk;
}

}  // namespace zv
