// Safe replacement of files on POSIX systems.
#include "platform/safefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace vlr {

namespace {

// Bytes gathered before they go to the system: each call into the system costs as much as
// copying a good part of a megabyte.
constexpr size_t kBufferSize = size_t{4} << 20;
// The disk starts writing each stretch of this many bytes while the rest is still being made,
// so that the flush before the rename waits only for the last of it.
constexpr uint64_t kWriteBackStep = uint64_t{16} << 20;

std::string FolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

SafeFileWriter::SafeFileWriter(std::string targetPath) : targetPath_(std::move(targetPath)) {}

SafeFileWriter::~SafeFileWriter() {
    Discard();
}

bool SafeFileWriter::Fail(const std::string& what) {
    error_ = what + ": " + std::strerror(errno);
    failed_ = true;
    return false;
}

bool SafeFileWriter::Open() {
    // A link is replaced in the folder of the file it points to, so the link stays a link.
    std::error_code ignored;
    if (std::filesystem::is_symlink(targetPath_, ignored)) {
        std::filesystem::path resolved = std::filesystem::canonical(targetPath_, ignored);
        if (!ignored) {
            targetPath_ = resolved.string();
        }
    }

    std::filesystem::path target(targetPath_);
    std::string folder = FolderOf(targetPath_);
    std::random_device entropy;
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string candidate =
            folder + "/." + target.filename().string() + ".saving-" + std::to_string(entropy() % 1000000000u);
        // 0666 lets the umask decide the permissions, as for any new file of the user.
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            tempPath_ = candidate;
            break;
        }
        if (errno != EEXIST) {
            return Fail("cannot create a file in " + folder);
        }
    }
    if (fd_ < 0) {
        return Fail("cannot create a temporary file in " + folder);
    }
    // A file that is replaced keeps its permissions.
    struct stat existing;
    if (::stat(targetPath_.c_str(), &existing) == 0) {
        ::fchmod(fd_, existing.st_mode & 07777);
    }
    buffer_ = LargeBuffer(kBufferSize);
    if (buffer_.isNull()) {
        errno = ENOMEM;
        return Fail("cannot write " + targetPath_);
    }
    buffered_ = 0;
    failed_ = false;
    return true;
}

bool SafeFileWriter::WriteAll(const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("cannot write " + targetPath_);
        }
        data += written;
        size -= static_cast<size_t>(written);
        written_ += static_cast<uint64_t>(written);
    }
    if (written_ - writtenBack_ >= kWriteBackStep) {
        // Only a request to start: an error shows at the flush before the rename.
        ::sync_file_range(fd_, static_cast<off_t>(writtenBack_), static_cast<off_t>(written_ - writtenBack_),
                          SYNC_FILE_RANGE_WRITE);
        writtenBack_ = written_;
    }
    return true;
}

bool SafeFileWriter::FlushBuffer() {
    const size_t size = std::exchange(buffered_, 0);
    return WriteAll(buffer_.data(), size);
}

bool SafeFileWriter::Write(const void* data, size_t size) {
    if (failed_ || fd_ < 0) {
        return false;
    }
    if (size == 0) {
        return true;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (size >= buffer_.size()) {
        // A large block goes to the system as it is.
        return FlushBuffer() && WriteAll(bytes, size);
    }
    if (size > buffer_.size() - buffered_ && !FlushBuffer()) {
        return false;
    }
    std::memcpy(buffer_.data() + buffered_, bytes, size);
    buffered_ += size;
    return true;
}

uint8_t* SafeFileWriter::Room(size_t size) {
    if (failed_ || fd_ < 0 || size > kRoomLimit) {
        return nullptr;
    }
    if (size > buffer_.size() - buffered_ && !FlushBuffer()) {
        return nullptr;
    }
    uint8_t* room = buffer_.data() + buffered_;
    buffered_ += size;
    return room;
}

bool SafeFileWriter::Commit() {
    if (failed_ || fd_ < 0) {
        return false;
    }
    if (!FlushBuffer()) {
        return false;
    }
    if (::fsync(fd_) != 0) {
        return Fail("cannot flush " + targetPath_ + " to disk");
    }
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        return Fail("cannot close " + targetPath_);
    }
    if (::rename(tempPath_.c_str(), targetPath_.c_str()) != 0) {
        return Fail("cannot replace " + targetPath_);
    }
    tempPath_.clear();
    // The new name is durable once the folder is flushed as well.
    int folder = ::open(FolderOf(targetPath_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}

void SafeFileWriter::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    buffer_ = LargeBuffer();
    buffered_ = 0;
}

} // namespace vlr
