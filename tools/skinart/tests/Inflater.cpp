#include "Inflater.h"

#include <array>
#include <stdexcept>

namespace {

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                               33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class BitReader {
public:
    explicit BitReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    int bit() {
        if (position_ / 8 >= bytes_.size()) throw std::runtime_error("the stream ends early");
        const int value = (bytes_[position_ / 8] >> (position_ % 8)) & 1;
        ++position_;
        return value;
    }

    // An extra-bits field: least significant bit first.
    int bits(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i) value |= bit() << i;
        return value;
    }

    // A Huffman code: most significant bit first.
    int code(int count) {
        int value = 0;
        for (int i = 0; i < count; ++i) value = (value << 1) | bit();
        return value;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

// RFC 1951 3.2.6: 7-bit codes 0-23 are 256-279; 8-bit 0x30-0xBF literals
// 0-143 and 0xC0-0xC7 280-287; 9-bit 0x190-0x1FF literals 144-255.
int fixedSymbol(BitReader& in) {
    int code = in.code(7);
    if (code <= 23) return 256 + code;
    code = (code << 1) | in.bit();
    if (code >= 0x30 && code <= 0xBF) return code - 0x30;
    if (code >= 0xC0 && code <= 0xC7) return 280 + code - 0xC0;
    code = (code << 1) | in.bit();
    return 144 + code - 0x190;
}

}  // namespace

std::vector<std::uint8_t> Inflater::inflate(std::span<const std::uint8_t> stream) {
    BitReader in(stream);
    std::vector<std::uint8_t> out;
    bool last = false;
    while (!last) {
        last = in.bit() == 1;
        if (in.bits(2) != 1) throw std::runtime_error("not a fixed-Huffman block");
        for (int symbol = fixedSymbol(in); symbol != 256; symbol = fixedSymbol(in)) {
            if (symbol < 256) {
                out.push_back(static_cast<std::uint8_t>(symbol));
                continue;
            }
            const auto lengthSlot = static_cast<std::size_t>(symbol - 257);
            if (lengthSlot >= kLengthBase.size()) throw std::runtime_error("bad length symbol");
            const int length = kLengthBase[lengthSlot] + in.bits(kLengthExtra[lengthSlot]);
            const auto distanceSlot = static_cast<std::size_t>(in.code(5));
            if (distanceSlot >= kDistanceBase.size()) throw std::runtime_error("bad distance symbol");
            const auto distance =
                static_cast<std::size_t>(kDistanceBase[distanceSlot] + in.bits(kDistanceExtra[distanceSlot]));
            if (distance > out.size()) throw std::runtime_error("a distance reaches before the start");
            for (int i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
        }
    }
    return out;
}
