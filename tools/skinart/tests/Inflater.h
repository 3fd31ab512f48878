#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A decoder for the deflate streams Deflate writes (fixed Huffman blocks),
// written from RFC 1951 apart from the compressor, so that tests can check
// that what goes in comes back out. Throws std::runtime_error on a stream
// it cannot read.
class Inflater {
public:
    static std::vector<std::uint8_t> inflate(std::span<const std::uint8_t> stream);
};
