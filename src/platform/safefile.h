// Replacing a file safely: the new content goes to a temporary file beside the old one, is
// flushed to disk, and only then takes the old file's name. A failure at any point leaves the
// old file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vlr {

class SafeFileWriter {
public:
    explicit SafeFileWriter(std::string targetPath);
    ~SafeFileWriter();
    SafeFileWriter(const SafeFileWriter&) = delete;
    SafeFileWriter& operator=(const SafeFileWriter&) = delete;

    // Creates the temporary file in the target's folder.
    bool Open();
    // Appends bytes (buffered). Fails once an earlier write failed.
    bool Write(const void* data, size_t size);
    // Flushes the content to disk and renames the temporary file over the target.
    bool Commit();
    // Removes the temporary file; the target is untouched.
    void Discard();

    // The reason of the last failure, in the operating system's words.
    const std::string& error() const { return error_; }

private:
    bool FlushBuffer();
    bool Fail(const std::string& what);

    std::string targetPath_;
    std::string tempPath_;
    int fd_ = -1;
    bool failed_ = false;
    std::vector<uint8_t> buffer_;
    std::string error_;
};

} // namespace vlr
