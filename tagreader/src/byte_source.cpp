#include "byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tagwell::internal {

ByteSource::ByteSource(const std::uint8_t* data, std::size_t size)
    : memory_(data), size_(data ? static_cast<std::int64_t>(size) : 0) {}

ByteSource::~ByteSource() {
    if (fd_ >= 0) ::close(fd_);
}

bool ByteSource::OpenFile(const std::string& path) {
    // O_NONBLOCK keeps a FIFO from blocking the open; it changes nothing for regular files.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    size_ = static_cast<std::int64_t>(st.st_size);
    return true;
}

std::size_t ByteSource::ReadFile(std::int64_t offset, std::uint8_t* dst, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::pread(fd_, dst + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            failed_ = true;
            break;
        }
        if (n == 0) break;  // the file became shorter than it was
        done += static_cast<std::size_t>(n);
    }
    return done;
}

std::span<const std::uint8_t> ByteSource::View(std::int64_t offset, std::size_t count) {
    count = std::min(count, kMaxView);
    if (offset < 0 || offset >= size_ || count == 0) return {};
    std::size_t avail = static_cast<std::size_t>(std::min<std::int64_t>(count, size_ - offset));
    if (memory_) return {memory_ + offset, avail};
    if (fd_ < 0) return {};

    for (Block& b : blocks_) {
        if (b.start >= 0 && offset >= b.start &&
            offset + static_cast<std::int64_t>(avail) <=
                b.start + static_cast<std::int64_t>(b.count)) {
            b.lastUse = ++useCounter_;
            return {b.bytes.get() + (offset - b.start), avail};
        }
    }
    // Refill the block used least recently. Near the end of the file the block is aligned
    // to end there, so the ID3v1 tag and an appended ID3v2 footer share one read.
    Block& b = blocks_[0].lastUse <= blocks_[1].lastUse ? blocks_[0] : blocks_[1];
    std::int64_t start = offset;
    if (start + static_cast<std::int64_t>(kMaxView) > size_)
        start = std::max<std::int64_t>(0, size_ - static_cast<std::int64_t>(kMaxView));
    std::size_t want = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(kMaxView), size_ - start));
    if (!b.bytes) b.bytes = std::make_unique_for_overwrite<std::uint8_t[]>(kMaxView);
    b.count = 0;
    std::size_t got = ReadFile(start, b.bytes.get(), want);
    b.count = got;
    b.start = start;
    b.lastUse = ++useCounter_;
    if (offset >= start + static_cast<std::int64_t>(got)) return {};
    std::size_t have = std::min<std::size_t>(avail, static_cast<std::size_t>(start + got - offset));
    return {b.bytes.get() + (offset - start), have};
}

std::size_t ByteSource::ReadInto(std::int64_t offset, std::uint8_t* dst, std::size_t count) {
    if (offset < 0 || offset >= size_ || count == 0) return 0;
    std::size_t avail = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(count), size_ - offset));
    if (memory_) {
        std::memcpy(dst, memory_ + offset, avail);
        return avail;
    }
    if (fd_ < 0) return 0;
    if (avail <= kMaxView) {
        std::span<const std::uint8_t> v = View(offset, avail);
        if (!v.empty()) std::memcpy(dst, v.data(), v.size());
        return v.size();
    }
    return ReadFile(offset, dst, avail);
}

}  // namespace tagwell::internal
