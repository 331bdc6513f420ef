// Whole-file reads that refuse anything but a small regular file.
#include "data/regular_file.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <utility>

namespace nj {
namespace {

// A descriptor closed on every way out. Opening is non-blocking, so a named
// pipe returns at once instead of waiting for its other end; the type check
// then refuses it.
class OpenFile {
  public:
    OpenFile(const std::string& path, int flags)
        : fd_(::open(path.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644)) {}
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int fd() const { return fd_; }
    // The type of what was opened, not of what the name pointed at a moment
    // before, so nothing can be swapped in between the check and the use.
    bool isRegular(struct stat& info) const {
        return fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
    }

  private:
    int fd_;
};

}  // namespace

bool readRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes) {
    const OpenFile file(path, O_RDONLY);
    struct stat info {};
    if (!file.isRegular(info)) return false;
    if (info.st_size < 0 || static_cast<unsigned long long>(info.st_size) > maxBytes) return false;
    try {
        std::string contents;
        contents.reserve(static_cast<std::size_t>(info.st_size));
        char chunk[16384];
        for (;;) {
            const ssize_t got = ::read(file.fd(), chunk, sizeof chunk);
            if (got == 0) break;
            if (got < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            // A file still growing past its cap is refused like a large one.
            if (static_cast<std::size_t>(got) > maxBytes - contents.size()) return false;
            contents.append(chunk, static_cast<std::size_t>(got));
        }
        bytes = std::move(contents);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool writeRegularFile(const std::string& path, const std::string& bytes) {
    const OpenFile file(path, O_WRONLY | O_CREAT);
    struct stat info {};
    if (!file.isRegular(info) || ::ftruncate(file.fd(), 0) != 0) return false;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(file.fd(), bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        written += static_cast<std::size_t>(put);
    }
    return true;
}

}  // namespace nj
