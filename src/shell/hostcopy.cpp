#include "hostcopy.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace spindeck::shell {

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    [[nodiscard]] int get() const { return m_fd; }
    // Closes now, so that a failed close (a full disk on a network drive) is seen.
    int close() {
        const int result = ::close(m_fd);
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t wrote = ::write(fd, data, size);
        if (wrote < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return 0;
}

} // namespace

int copyHostFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    FileDescriptor source(::open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (source.get() < 0) {
        return errno;
    }
    FileDescriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (target.get() < 0) {
        return errno;
    }
    std::array<char, 65536> buffer{};
    while (true) {
        const ssize_t got = ::read(source.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (got == 0) {
            break;
        }
        if (const int error = writeAll(target.get(), buffer.data(), static_cast<std::size_t>(got)); error != 0) {
            return error;
        }
    }
    return target.close() == 0 ? 0 : errno;
}

int removeHostEntry(const std::filesystem::path& entry) {
    return ::unlink(entry.c_str()) == 0 ? 0 : errno;
}

} // namespace spindeck::shell
