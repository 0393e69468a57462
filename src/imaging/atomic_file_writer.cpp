#include "imaging/atomic_file_writer.h"

#include "imaging/file_descriptor.h"
#include "imaging/output_folder.h"
#include "imaging/stale_temporary_sweep.h"

#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <mutex>
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

// Sweeps the folder unless an earlier save of this process left it without temporary files. This
// process's own writers never leave theirs behind (they place or remove them), and those of a
// process killed before this one started go with the first sweep; only one of another instance
// killed meanwhile waits for the next run. So a folder of thousands of scans (a network folder
// above all) is not listed on every save. Any thread: the set is under its mutex.
void SweepUnlessClean(int folderFd, const QByteArray& folder) {
    static std::mutex mutex;
    static QSet<QByteArray> clean;  // guarded by mutex
    {
        const std::lock_guard lock(mutex);
        if (clean.contains(folder)) {
            return;
        }
    }
    if (StaleTemporarySweep::Run(folderFd).kept == 0) {
        const std::lock_guard lock(mutex);
        clean.insert(folder);
    }
}

// Makes the folder entry of a new name durable. File systems that cannot sync a folder say
// EINVAL; their entries are as durable as they get.
Status SyncFolder(int folderFd) {
    return ::fsync(folderFd) == 0 || errno == EINVAL ? kOk : StatusFromErrno(errno);
}

}  // namespace

Status AtomicFileWriter::WriteNew(const QByteArray& path, const std::uint8_t* data,
                                  std::size_t size, const NewFileOptions& options,
                                  QByteArray* written) {
    if (path.isEmpty() || path.endsWith('/') || path.contains('\0')) {
        return StatusFromErrno(ENOENT);
    }
    // One descriptor of the folder serves the sweep and the sync of the new entry. A folder that
    // cannot be opened (written but not read, as a drop box) can be neither listed nor synced.
    const QByteArray folderPath = OutputFolder::Of(path);
    const FileDescriptor folder(::open(folderPath.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.IsOpen() && errno != EACCES && errno != EPERM) {
        return StatusFromErrno(errno);
    }
    if (folder.IsOpen()) {
        SweepUnlessClean(folder.Get(), folderPath);
    }
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
    if (status == kOk && folder.IsOpen()) {
        status = SyncFolder(folder.Get());
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
