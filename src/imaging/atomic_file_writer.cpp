#include "imaging/atomic_file_writer.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

namespace {

constexpr int kNameAttempts = 16;
// Keeps the temporary name within the file system's name limit when the final name is long.
constexpr qsizetype kMaxBaseInTemporaryName = 200;

QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        return QByteArrayLiteral(".");
    }
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// "<folder>/.<name>.<random>.part": hidden, in the same file system as the final name.
QByteArray TemporaryNameFor(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray base = path.mid(slash + 1).left(kMaxBaseInTemporaryName);
    const QByteArray random =
        QByteArray::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, '0');
    return path.left(slash + 1) + '.' + base + '.' + random + ".part";
}

Status WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return StatusFromErrno(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return kOk;
}

// Moves `from` to `to` unless `to` exists. RENAME_NOREPLACE does it in one step; on a file system
// without it, a hard link (which fails on an existing name too) and the removal of the old name.
Status MoveNoReplace(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return kOk;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
        return StatusFromErrno(errno);
    }
    if (::link(from.constData(), to.constData()) != 0) {
        return StatusFromErrno(errno);
    }
    ::unlink(from.constData());
    return kOk;
}

// Makes the folder entry of a new name durable. File systems that cannot sync a folder say
// EINVAL; their entries are as durable as they get.
Status SyncFolder(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return StatusFromErrno(errno);
    }
    Status status = kOk;
    if (::fsync(fd) != 0 && errno != EINVAL) {
        status = StatusFromErrno(errno);
    }
    ::close(fd);
    return status;
}

// The temporary file while it is written; removed again unless it was moved to its name.
class TemporaryFile {
public:
    explicit TemporaryFile(const QByteArray& path) : m_path(path) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        if (!m_name.isEmpty()) {
            ::unlink(m_name.constData());
        }
    }

    Status Create() {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            const QByteArray name = TemporaryNameFor(m_path);
            // 0666 less the umask: the same permissions as any file the user creates.
            m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_name = name;
                return kOk;
            }
            if (errno != EEXIST) {
                return StatusFromErrno(errno);
            }
        }
        return StatusFromErrno(EEXIST);
    }

    int Descriptor() const { return m_fd; }
    const QByteArray& Name() const { return m_name; }

    // Closes the file; a delayed write error (network file systems) shows here.
    Status Close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? kOk : StatusFromErrno(errno);
    }

    // The file now has its final name: nothing to remove.
    void Release() { m_name.clear(); }

private:
    QByteArray m_path;
    QByteArray m_name;
    int m_fd = -1;
};

}  // namespace

Status AtomicFileWriter::WriteNew(const QByteArray& path, const std::uint8_t* data,
                                  std::size_t size) {
    if (path.isEmpty() || path.endsWith('/') || path.contains('\0')) {
        return StatusFromErrno(ENOENT);
    }
    TemporaryFile file(path);
    Status status = file.Create();
    if (status == kOk) {
        status = WriteAll(file.Descriptor(), data, size);
    }
    if (status == kOk && ::fsync(file.Descriptor()) != 0) {
        status = StatusFromErrno(errno);
    }
    if (status == kOk) {
        status = file.Close();
    }
    if (status == kOk) {
        status = MoveNoReplace(file.Name(), path);
    }
    if (status != kOk) {
        return status;
    }
    file.Release();
    status = SyncFolder(FolderOf(path));
    if (status != kOk) {
        // Written but not durable: the caller is told it failed, so nothing may remain.
        ::unlink(path.constData());
    }
    return status;
}

}  // namespace zv
