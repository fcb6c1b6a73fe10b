// Safe replacement of files on POSIX systems.
#include "platform/safefile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {

namespace {

constexpr size_t kBufferSize = 1 << 20;

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
    buffer_.reserve(kBufferSize);
    failed_ = false;
    return true;
}

bool SafeFileWriter::FlushBuffer() {
    const uint8_t* data = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        ssize_t written = ::write(fd_, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return Fail("cannot write " + targetPath_);
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    buffer_.clear();
    return true;
}

bool SafeFileWriter::Write(const void* data, size_t size) {
    if (failed_ || fd_ < 0) {
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        size_t room = kBufferSize - buffer_.size();
        size_t chunk = size < room ? size : room;
        buffer_.insert(buffer_.end(), bytes, bytes + chunk);
        bytes += chunk;
        size -= chunk;
        if (buffer_.size() == kBufferSize && !FlushBuffer()) {
            return false;
        }
    }
    return true;
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
    buffer_.clear();
}

} // namespace vlr
