#pragma once

#include <cstdint>
#include <span>
#include <vector>

// A small deflate compressor (RFC 1951): greedy LZ77 matching over the
// 32 KiB window, coded in one block with the format's fixed Huffman codes.
// Icons are mostly flat colour and transparency, which this packs well
// without the code of a full compressor; the output is the same on every run.
class Deflate {
public:
    static std::vector<std::uint8_t> compress(std::span<const std::uint8_t> data);
};
