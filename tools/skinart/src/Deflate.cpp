#include "Deflate.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kMaxChain = 128;  // candidates tried per position: enough for icons, bounded time
constexpr int kHashBits = 15;

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                             31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                               33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                               1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Bits go out least significant first; Huffman codes most significant first.
class BitWriter {
public:
    void bits(std::uint32_t value, int count) {
        for (int i = 0; i < count; ++i) {
            bit((value >> i) & 1U);
        }
    }

    void code(std::uint32_t value, int length) {
        for (int i = length - 1; i >= 0; --i) {
            bit((value >> i) & 1U);
        }
    }

    std::vector<std::uint8_t> take() {
        if (used_ > 0) {
            bytes_.push_back(current_);
        }
        return std::move(bytes_);
    }

private:
    void bit(std::uint32_t value) {
        current_ |= static_cast<std::uint8_t>(value << used_);
        if (++used_ == 8) {
            bytes_.push_back(current_);
            current_ = 0;
            used_ = 0;
        }
    }

    std::vector<std::uint8_t> bytes_;
    std::uint8_t current_ = 0;
    int used_ = 0;
};

// The fixed literal/length code of RFC 1951 section 3.2.6.
void writeSymbol(BitWriter& out, int symbol) {
    if (symbol < 144) {
        out.code(0x30 + symbol, 8);
    } else if (symbol < 256) {
        out.code(0x190 + symbol - 144, 9);
    } else if (symbol < 280) {
        out.code(symbol - 256, 7);
    } else {
        out.code(0xC0 + symbol - 280, 8);
    }
}

// The table entry whose base is the largest not above `value`.
template <std::size_t N>
int slot(const std::array<int, N>& bases, int value) {
    int index = 0;
    while (index + 1 < static_cast<int>(N) && bases[static_cast<std::size_t>(index + 1)] <= value) {
        ++index;
    }
    return index;
}

void writeMatch(BitWriter& out, int length, int distance) {
    const int lengthSlot = slot(kLengthBase, length);
    writeSymbol(out, 257 + lengthSlot);
    out.bits(static_cast<std::uint32_t>(length - kLengthBase[static_cast<std::size_t>(lengthSlot)]),
             kLengthExtra[static_cast<std::size_t>(lengthSlot)]);
    const int distanceSlot = slot(kDistanceBase, distance);
    out.code(static_cast<std::uint32_t>(distanceSlot), 5);
    out.bits(static_cast<std::uint32_t>(distance - kDistanceBase[static_cast<std::size_t>(distanceSlot)]),
             kDistanceExtra[static_cast<std::size_t>(distanceSlot)]);
}

// Chains of earlier positions that start with the same three bytes.
class MatchFinder {
public:
    explicit MatchFinder(std::span<const std::uint8_t> data)
        : data_(data), head_(1U << kHashBits, -1), previous_(data.size(), -1) {}

    void insert(int position) {
        if (position + kMinMatch > static_cast<int>(data_.size())) {
            return;
        }
        const std::size_t hash = hashAt(position);
        previous_[static_cast<std::size_t>(position)] = head_[hash];
        head_[hash] = position;
    }

    // The longest earlier match at `position` (length 0 if none of at least kMinMatch).
    std::pair<int, int> longest(int position) const {
        const int available = std::min(kMaxMatch, static_cast<int>(data_.size()) - position);
        int bestLength = 0;
        int bestDistance = 0;
        if (available < kMinMatch) {
            return {0, 0};
        }
        int candidate = head_[hashAt(position)];
        for (int tries = 0; candidate >= 0 && position - candidate <= kWindow && tries < kMaxChain; ++tries) {
            int length = 0;
            while (length < available && data_[static_cast<std::size_t>(candidate + length)] ==
                                             data_[static_cast<std::size_t>(position + length)]) {
                ++length;
            }
            if (length > bestLength) {
                bestLength = length;
                bestDistance = position - candidate;
                if (length == available) {
                    break;
                }
            }
            candidate = previous_[static_cast<std::size_t>(candidate)];
        }
        return bestLength >= kMinMatch ? std::pair{bestLength, bestDistance} : std::pair{0, 0};
    }

private:
    std::size_t hashAt(int position) const {
        const auto at = static_cast<std::size_t>(position);
        const std::uint32_t key = (static_cast<std::uint32_t>(data_[at]) << 16) |
                                  (static_cast<std::uint32_t>(data_[at + 1]) << 8) | data_[at + 2];
        return (key * 2654435761U) >> (32 - kHashBits);
    }

    std::span<const std::uint8_t> data_;
    std::vector<int> head_;
    std::vector<int> previous_;
};

}  // namespace

std::vector<std::uint8_t> Deflate::compress(std::span<const std::uint8_t> data) {
    BitWriter out;
    out.bits(1, 1);  // BFINAL: the only block
    out.bits(1, 2);  // BTYPE 01: fixed Huffman codes
    MatchFinder finder(data);
    const int size = static_cast<int>(data.size());
    int position = 0;
    while (position < size) {
        const auto [length, distance] = finder.longest(position);
        if (length == 0) {
            writeSymbol(out, data[static_cast<std::size_t>(position)]);
            finder.insert(position++);
            continue;
        }
        writeMatch(out, length, distance);
        for (int end = position + length; position < end; ++position) {
            finder.insert(position);
        }
    }
    writeSymbol(out, 256);  // end of block
    return out.take();
}
