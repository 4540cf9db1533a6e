// Whole-file reading and safe whole-file writing with the sharing rules of the data files:
// while a file is read others may read it but not write it; while it is written nobody else may
// open it. On POSIX systems these are advisory locks (flock). Errors carry the user's message.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kit {

class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string &message)
        : std::runtime_error(message)
    {}
};

struct FileBuffer {
    std::unique_ptr<char[]> data;  // size bytes, plus one NUL after them
    std::size_t size = 0;
};

bool FileExists(const std::string &path);  // a regular file; a folder does not count

// Reads the whole file with one read under a shared lock.
// Throws FileError "Cannot open file "<path>". <reason>".
FileBuffer ReadWholeFile(const std::string &path);

// Replaces (or creates) a file with `bytes` so that a failure never leaves a half file: the bytes
// go to a temporary file in the same folder, which is flushed to disk and renamed over the old
// one. Throws FileError "Cannot create file "<path>". <reason>" when the file cannot be created
// or replaced (the old one then keeps its contents) and "Stream write error" when the write
// fails part-way.
void WriteFileSafely(const std::string &path, std::string_view bytes);

// The same in steps, so that a benchmark can time them apart: open() locks the target and
// creates the temporary file, write() writes everything with one write, sync() flushes it to
// disk, commit() renames it over the target. The destructor removes an uncommitted temporary file.
class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string path);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter &) = delete;
    SafeFileWriter &operator=(const SafeFileWriter &) = delete;

    void open();
    void write(std::string_view bytes);
    void sync();
    void commit();

private:
    std::string path_, tempPath_;
    int targetFd_ = -1, tempFd_ = -1;
};

}  // namespace kit
