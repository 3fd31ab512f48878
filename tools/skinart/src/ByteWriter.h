#pragma once

#include <cstdint>
#include <span>
#include <vector>

// Appends fixed-width integers to a byte buffer. BMP and region data are
// little-endian; PNG chunk fields are big-endian.
class ByteWriter {
public:
    void u8(std::uint8_t value);
    void u16le(std::uint16_t value);
    void u32le(std::uint32_t value);
    void i32le(std::int32_t value);
    void u32be(std::uint32_t value);
    void append(std::span<const std::uint8_t> data);

    std::size_t size() const { return bytes_.size(); }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};
