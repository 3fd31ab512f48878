#include "ByteWriter.h"

void ByteWriter::u8(std::uint8_t value) { bytes_.push_back(value); }

void ByteWriter::u16le(std::uint16_t value) {
    u8(static_cast<std::uint8_t>(value));
    u8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::u32le(std::uint32_t value) {
    u16le(static_cast<std::uint16_t>(value));
    u16le(static_cast<std::uint16_t>(value >> 16));
}

void ByteWriter::i32le(std::int32_t value) { u32le(static_cast<std::uint32_t>(value)); }

void ByteWriter::u32be(std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        u8(static_cast<std::uint8_t>(value >> shift));
    }
}

void ByteWriter::append(std::span<const std::uint8_t> data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }
