#include "host/FileReplace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>

namespace {

bool writeAll(int fd, const unsigned char* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool replaceFileContents(const char* path, const void* data, std::size_t size)
{
    if (!path || !*path || (!data && size > 0))
        return false;
    static std::atomic<unsigned> counter{0};
    struct stat existing {};
    const bool keepMode = ::stat(path, &existing) == 0;

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = std::string(path) + ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, static_cast<const unsigned char*>(data), size);
    if (ok && keepMode)
        ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = std::rename(temp.c_str(), path) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}
