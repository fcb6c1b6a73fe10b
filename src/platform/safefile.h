// Replacing a file safely: the new content goes to a temporary file beside the old one, is
// flushed to disk, and only then takes the old file's name. A failure at any point leaves the
// old file as it was.
#pragma once

#include "platform/largepages.h"

#include <cstddef>
#include <cstdint>
#include <string>

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
    // Room for size bytes at the end of the content, to be filled completely by the caller
    // before the next call: writers encode straight into the buffer. Null when an earlier write
    // failed or size exceeds kRoomLimit.
    uint8_t* Room(size_t size);
    static constexpr size_t kRoomLimit = size_t{1} << 20;
    // Flushes the content to disk and renames the temporary file over the target.
    bool Commit();
    // Removes the temporary file; the target is untouched.
    void Discard();

    // The reason of the last failure, in the operating system's words.
    const std::string& error() const { return error_; }

private:
    bool FlushBuffer();
    bool WriteAll(const uint8_t* data, size_t size);
    bool Fail(const std::string& what);

    std::string targetPath_;
    std::string tempPath_;
    int fd_ = -1;
    bool failed_ = false;
    LargeBuffer buffer_;
    size_t buffered_ = 0;
    uint64_t written_ = 0;     // bytes handed to the system
    uint64_t writtenBack_ = 0; // of those, bytes whose write to the disk has been started
    std::string error_;
};

} // namespace vlr
