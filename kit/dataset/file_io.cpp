#include "file_io.h"

#include "large_pages.h"

#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kit {

namespace {

std::string reason(int error)
{
    return std::strerror(error);
}

[[noreturn]] void cannotOpen(const std::string &path, int error)
{
    throw FileError("Cannot open file \"" + path + "\". " + reason(error));
}

[[noreturn]] void cannotCreate(const std::string &path, int error)
{
    throw FileError("Cannot create file \"" + path + "\". " + reason(error));
}

[[noreturn]] void writeError()
{
    throw FileError("Stream write error");
}

class Fd {
public:
    explicit Fd(int fd) noexcept
        : fd_(fd)
    {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    int get() const noexcept { return fd_; }

private:
    int fd_;
};

std::string folderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool FileExists(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileBuffer ReadWholeFile(const std::string &path)
{
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        cannotOpen(path, errno);
    // Others may go on reading, but a writer holding the file keeps us out and we keep it out.
    if (::flock(fd.get(), LOCK_SH | LOCK_NB) != 0)
        cannotOpen(path, errno);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        cannotOpen(path, errno);
    if (!S_ISREG(st.st_mode))
        cannotOpen(path, EISDIR);
    FileBuffer buffer;
    std::size_t capacity = static_cast<std::size_t>(st.st_size);
    buffer.data = std::unique_ptr<char[]>(new char[capacity + 1]);
    PreferLargePages(buffer.data.get(), capacity + 1);
    for (;;) {
        const ssize_t got =
            ::read(fd.get(), buffer.data.get() + buffer.size, capacity - buffer.size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            cannotOpen(path, errno);
        }
        if (got == 0)
            break;
        buffer.size += static_cast<std::size_t>(got);
        if (buffer.size == capacity) {
            // The file may have grown since fstat; look for more before stopping.
            char probe;
            const ssize_t more = ::read(fd.get(), &probe, 1);
            if (more <= 0)
                break;
            capacity = capacity * 2 + 4096;
            auto bigger = std::unique_ptr<char[]>(new char[capacity + 1]);
            std::memcpy(bigger.get(), buffer.data.get(), buffer.size);
            bigger[buffer.size++] = probe;
            buffer.data = std::move(bigger);
        }
    }
    buffer.data[buffer.size] = '\0';
    return buffer;
}

SafeFileWriter::SafeFileWriter(std::string path)
    : path_(std::move(path))
{}

SafeFileWriter::~SafeFileWriter()
{
    if (tempFd_ >= 0) {
        ::close(tempFd_);
        ::unlink(tempPath_.c_str());
    }
    if (targetFd_ >= 0)
        ::close(targetFd_);
}

void SafeFileWriter::open()
{
    mode_t mode = 0644;
    // An existing file that another program holds stays as it is: we do not replace it.
    targetFd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (targetFd_ >= 0) {
        if (::flock(targetFd_, LOCK_EX | LOCK_NB) != 0)
            cannotCreate(path_, errno);
        struct stat st {};
        if (::fstat(targetFd_, &st) == 0) {
            if (S_ISDIR(st.st_mode))
                cannotCreate(path_, EISDIR);
            mode = st.st_mode & 07777;
        }
        if (::access(path_.c_str(), W_OK) != 0)
            cannotCreate(path_, errno);
    } else if (errno != ENOENT) {
        cannotCreate(path_, errno);
    }
    tempPath_ = path_ + ".tmp-XXXXXX";
    tempFd_ = ::mkostemp(tempPath_.data(), O_CLOEXEC);
    if (tempFd_ < 0)
        cannotCreate(path_, errno);
    ::fchmod(tempFd_, mode);
    if (::flock(tempFd_, LOCK_EX | LOCK_NB) != 0)
        cannotCreate(path_, errno);
}

void SafeFileWriter::write(std::string_view bytes)
{
    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t put = ::write(tempFd_, p, left);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            writeError();
        p += put;
        left -= static_cast<std::size_t>(put);
    }
}

void SafeFileWriter::sync()
{
    if (::fsync(tempFd_) != 0)
        writeError();
}

void SafeFileWriter::commit()
{
    if (::rename(tempPath_.c_str(), path_.c_str()) != 0)
        cannotCreate(path_, errno);
    ::close(tempFd_);
    tempFd_ = -1;
    // Make the rename itself durable.
    Fd folder(::open(folderOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        ::fsync(folder.get());
}

void WriteFileSafely(const std::string &path, std::string_view bytes)
{
    SafeFileWriter writer(path);
    writer.open();
    writer.write(bytes);
    writer.sync();
    writer.commit();
}

}  // namespace kit
