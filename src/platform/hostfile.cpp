#include "hostfile.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace spindeck::platform {

int readHostFile(const std::filesystem::path& file, std::string& bytes) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    std::array<char, 65536> buffer{};
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            error = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(fd);
    return error;
}

} // namespace spindeck::platform
