// A bounded, read-only view of an MP3 file or of bytes in memory. Every read states an
// offset and a count and gets back only the bytes that exist, so the parsers above never
// read past the end whatever a size field claims. A file is opened once and read through
// one descriptor with a small block cache, so the tag and stream readers can look at the
// same regions without further system calls.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tagwell::internal {

class ByteSource {
  public:
    // An empty source (size 0).
    ByteSource() = default;
    // Bytes in memory; the caller keeps them alive while the source is used.
    ByteSource(const std::uint8_t* data, std::size_t size);
    ~ByteSource();
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // Opens a regular file for reading. False when it cannot be opened or is not a regular
    // file (FIFOs and devices are refused without blocking); the source then stays empty.
    bool OpenFile(const std::string& path);

    std::int64_t size() const { return size_; }
    // True once a read from the file failed with an error (not at the end of the file).
    bool failed() const { return failed_; }

    // Up to count bytes at offset (fewer at the end of the data, none outside it). count
    // must not exceed kMaxView. The view stays valid until the next call on this source.
    std::span<const std::uint8_t> View(std::int64_t offset, std::size_t count);

    // Copies up to count bytes at offset into dst; returns how many were copied.
    std::size_t ReadInto(std::int64_t offset, std::uint8_t* dst, std::size_t count);

    // Copies exactly N bytes at offset into an array, zero-filling what does not exist.
    template <std::size_t N>
    std::array<std::uint8_t, N> Fixed(std::int64_t offset) {
        std::array<std::uint8_t, N> out{};
        std::span<const std::uint8_t> v = View(offset, N);
        for (std::size_t i = 0; i < v.size(); ++i) out[i] = v[i];
        return out;
    }

    static constexpr std::size_t kMaxView = 32 * 1024;

  private:
    // A block's buffer is allocated once and never zero-filled: only the bytes read into
    // it (count) are ever looked at.
    struct Block {
        std::int64_t start = -1;
        std::unique_ptr<std::uint8_t[]> bytes;
        std::size_t count = 0;
        unsigned lastUse = 0;
    };

    std::size_t ReadFile(std::int64_t offset, std::uint8_t* dst, std::size_t count);

    const std::uint8_t* memory_ = nullptr;
    std::int64_t size_ = 0;
    int fd_ = -1;
    bool failed_ = false;
    unsigned useCounter_ = 0;
    std::array<Block, 2> blocks_;
};

}  // namespace tagwell::internal
