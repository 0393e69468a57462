#include "platform/v4l2/system_v4l2_io.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zv::v4l2 {

int SystemV4l2Io::Open(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    return fd >= 0 ? fd : -errno;
}

void SystemV4l2Io::Close(int fd) {
    if (fd >= 0) {
        ::close(fd);
    }
}

int SystemV4l2Io::ReleaseDescriptor(int fd) {
    const int placeholder = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (placeholder < 0) {
        return errno;
    }
    return MoveDescriptor(placeholder, fd);
}

int SystemV4l2Io::MoveDescriptor(int from, int to) {
    // dup3 closes what `to` referred to and takes its number over in one step.
    const int error = ::dup3(from, to, O_CLOEXEC) < 0 ? errno : 0;
    ::close(from);
    return error;
}

int SystemV4l2Io::Ioctl(int fd, unsigned long request, void* argument) {
    int result = 0;
    do {
        result = ::ioctl(fd, request, argument);
    } while (result == -1 && errno == EINTR);
    return result == -1 ? errno : 0;
}

void* SystemV4l2Io::Map(int fd, std::size_t length, std::int64_t offset, int* error) {
    void* address =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_SHARED, fd, static_cast<off_t>(offset));
    if (address == MAP_FAILED) {
        *error = errno;
        return nullptr;
    }
    *error = 0;
    return address;
}

void SystemV4l2Io::Unmap(void* address, std::size_t length) {
    if (address != nullptr) {
        ::munmap(address, length);
    }
}

int SystemV4l2Io::Poll(pollfd* fds, std::size_t count, int timeoutMs) {
    const int result = ::poll(fds, static_cast<nfds_t>(count), timeoutMs);
    return result >= 0 ? result : -errno;
}

int SystemV4l2Io::CreateWakeup() {
    const int fd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    return fd >= 0 ? fd : -errno;
}

void SystemV4l2Io::SignalWakeup(int fd) {
    const std::uint64_t one = 1;
    // A full counter is still readable, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(fd, &one, sizeof one);
}

void SystemV4l2Io::DrainWakeup(int fd) {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(fd, &count, sizeof count);
}

int SystemV4l2Io::ReadFile(const std::string& path, std::vector<std::uint8_t>* bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    bytes->clear();
    std::uint8_t chunk[4096];
    while (true) {
        const ssize_t count = ::read(fd, chunk, sizeof chunk);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            return error;
        }
        if (count == 0) {
            break;
        }
        bytes->insert(bytes->end(), chunk, chunk + count);
    }
    ::close(fd);
    return 0;
}

int SystemV4l2Io::Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? 0 : errno;
}

}  // namespace zv::v4l2
