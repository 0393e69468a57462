#include "imaging/stale_temporary_sweep.h"

#include "imaging/file_descriptor.h"
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

StaleTemporarySweep::Outcome StaleTemporarySweep::Run(int folderFd) {
    // The stream owns a copy of the descriptor, listed from the start.
    const int listed = ::dup(folderFd);
    const std::unique_ptr<DIR, DirCloser> dir(listed < 0 ? nullptr : ::fdopendir(listed));
    if (!dir) {
        if (listed >= 0) {
            ::close(listed);
        }
        return {};
    }
    ::rewinddir(dir.get());
    Outcome outcome;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!TemporaryFileName::Matches(entry->d_name)) {
            continue;
        }
        const FileDescriptor file(::openat(
            folderFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
        if (file.IsOpen() && IsStale(file.Get()) && ::unlinkat(folderFd, entry->d_name, 0) == 0) {
            ++outcome.removed;
        } else {
            ++outcome.kept;
        }
    }
    return outcome;
}

}  // namespace zv
