#include "imaging/temporary_file.h"

#include "imaging/output_folder.h"
#include "imaging/temporary_file_name.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zv {

namespace {

constexpr int kNameAttempts = 16;
// 0666 less the umask: the same permissions as any file the user creates.
constexpr mode_t kFileMode = 0666;

// The name under which the kernel lets this process reach its own open file.
QByteArray DescriptorLink(int fd) {
    return QByteArrayLiteral("/proc/self/fd/") + QByteArray::number(fd);
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

}  // namespace

TemporaryFile::~TemporaryFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (!m_name.isEmpty()) {
        ::unlink(m_name.constData());
    }
}

Status TemporaryFile::Create(const QByteArray& path, Kind kind) {
    if (kind == Kind::kUnnamedWherePossible) {
        const Status status = CreateUnnamed(OutputFolder::Of(path));
        if (status != kFalse) {
            return status;
        }
    }
    return CreateNamed(path);
}

// kFalse when the file system or the system offers no unnamed file that can be linked later.
Status TemporaryFile::CreateUnnamed(const QByteArray& folder) {
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kFileMode);
    if (fd < 0) {
        // Kernels without O_TMPFILE read it as O_DIRECTORY: EISDIR.
        const bool unsupported =
            errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL || errno == ENOSYS;
        return unsupported ? kFalse : StatusFromErrno(errno);
    }
    // Linking it needs /proc (linkat with AT_EMPTY_PATH needs a privilege instead).
    char target = 0;
    if (::readlink(DescriptorLink(fd).constData(), &target, 1) < 0) {
        ::close(fd);
        return kFalse;
    }
    m_fd = fd;
    return kOk;
}

Status TemporaryFile::CreateNamed(const QByteArray& path) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const QByteArray name = TemporaryFileName::For(path);
        m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode);
        if (m_fd >= 0) {
            m_name = name;
            // Held until the file is closed: marks it as in use for a sweep of stale files.
            ::flock(m_fd, LOCK_EX | LOCK_NB);
            return kOk;
        }
        if (errno != EEXIST) {
            return StatusFromErrno(errno);
        }
    }
    return StatusFromErrno(EEXIST);
}

Status TemporaryFile::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(m_fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return StatusFromErrno(errno);
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return ::fsync(m_fd) == 0 ? kOk : StatusFromErrno(errno);
}

Status TemporaryFile::Place(const QByteArray& path) {
    if (m_name.isEmpty()) {
        // A link never replaces an existing name.
        return ::linkat(AT_FDCWD, DescriptorLink(m_fd).constData(), AT_FDCWD, path.constData(),
                        AT_SYMLINK_FOLLOW) == 0
                   ? kOk
                   : StatusFromErrno(errno);
    }
    const Status status = MoveNoReplace(m_name, path);
    if (status == kOk) {
        m_name.clear();
    }
    return status;
}

Status TemporaryFile::Close() {
    const int fd = m_fd;
    m_fd = -1;
    return ::close(fd) == 0 ? kOk : StatusFromErrno(errno);
}

}  // namespace zv
