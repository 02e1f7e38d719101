// Bounds-checked little-endian reading of resource data. Every read past the end throws ResourceError naming
// what was being read, so a malformed file is reported, never read out of bounds.
#ifndef ZZ_HOST_RESOURCES_BYTE_READER_H
#define ZZ_HOST_RESOURCES_BYTE_READER_H

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "host/resources/ModuleResources.h"

namespace zz {

class ByteReader {
  public:
    ByteReader(std::span<const uint8_t> data, std::string what) : data_(data), what_(std::move(what)) {}

    size_t position() const { return position_; }
    size_t size() const { return data_.size(); }
    size_t remaining() const { return data_.size() - position_; }
    bool atEnd() const { return position_ == data_.size(); }

    void seek(size_t position) {
        if (position > data_.size()) fail("offset " + std::to_string(position) + " lies outside the data");
        position_ = position;
    }
    void skip(size_t count) {
        if (count > remaining()) fail("truncated at offset " + std::to_string(position_));
        position_ += count;
    }
    // Moves forward to the next multiple of `alignment` (a power of two) counted from the start of the data.
    void align(size_t alignment) { skip((alignment - position_ % alignment) % alignment); }

    uint8_t u8() { return static_cast<uint8_t>(read(1)); }
    uint16_t u16() { return static_cast<uint16_t>(read(2)); }
    uint32_t u32() { return static_cast<uint32_t>(read(4)); }
    uint64_t u64() { return read(8); }
    int16_t s16() { return static_cast<int16_t>(u16()); }

    // `count` bytes from the current position.
    std::span<const uint8_t> bytes(size_t count) {
        if (count > remaining()) fail("truncated at offset " + std::to_string(position_));
        std::span<const uint8_t> result = data_.subspan(position_, count);
        position_ += count;
        return result;
    }

    // A zero-terminated UTF-16 string, returned as UTF-8 without the terminator.
    std::string utf16z() {
        std::u16string text;
        for (;;) {
            const char16_t unit = static_cast<char16_t>(u16());
            if (unit == 0) break;
            text.push_back(unit);
        }
        return utf16ToUtf8(text);
    }

    [[noreturn]] void fail(const std::string& problem) const { throw ResourceError(what_ + ": " + problem); }

  private:
    uint64_t read(size_t count) {
        if (count > remaining()) fail("truncated at offset " + std::to_string(position_));
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i)
            value |= static_cast<uint64_t>(data_[position_ + i]) << (8 * i);
        position_ += count;
        return value;
    }

    std::span<const uint8_t> data_;
    std::string what_;
    size_t position_ = 0;
};

} // namespace zz

#endif
