#include "imaging/stale_temporary_sweep.h"

#include "imaging/temporary_file_name.h"

#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool IsStale(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        return false;
    }
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (now.tv_sec - info.st_mtim.tv_sec < StaleTemporarySweep::kMinAge.count()) {
        return false;
    }
    // A live writer holds the lock until its file is in place.
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

}  // namespace

int StaleTemporarySweep::Run(const QByteArray& folder) {
    const int folderFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd < 0) {
        return 0;
    }
    // The stream owns the descriptor from here on.
    const std::unique_ptr<DIR, DirCloser> dir(::fdopendir(folderFd));
    if (!dir) {
        ::close(folderFd);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (!TemporaryFileName::Matches(name)) {
            continue;
        }
        const int fd = ::openat(folderFd, entry->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) {
            continue;
        }
        if (IsStale(fd) && ::unlinkat(folderFd, entry->d_name, 0) == 0) {
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}

}  // namespace zv
