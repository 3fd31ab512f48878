// kernel32 as the program uses it: MulDiv's rounding and its refusals, the
// performance counter, and Sleep.
#include <climits>

#include "Check.h"

namespace {

struct MulDivCase {
    int number, numerator, denominator, expected;
};

// Rounding is half away from zero, whatever the signs; a zero divisor and
// a quotient outside -INT_MAX..INT_MAX give -1.
constexpr MulDivCase mulDivCases[] = {
    {6, 1, 4, 2},
    {-6, 1, 4, -2},
    {6, 1, -4, -2},
    {-6, 1, -4, 2},
    {5, 1, 4, 1},
    {-5, 1, 4, -1},
    {7, 1, 2, 4},
    {-7, 1, 2, -4},
    {1, 1, 0, -1},
    {0, 0, 0, -1},
    {INT_MAX, 2, 2, INT_MAX},
    {INT_MAX, 2, 1, -1},
    {INT_MIN, 1, 1, -1},
    {-INT_MAX, 1, 1, -INT_MAX},
    {INT_MIN, 1, 2, INT_MIN / 2},
    {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
    {46, 96, 72, 61},
};

}  // namespace

TEST_CASE(mul_div, nullptr) {
    for (const MulDivCase& c : mulDivCases) {
        int got = MulDiv(c.number, c.numerator, c.denominator);
        ok(got == c.expected, "MulDiv(%d, %d, %d): expected %d, got %d", c.number, c.numerator, c.denominator,
           c.expected, got);
    }
}

TEST_CASE(performance_counter, nullptr) {
    LARGE_INTEGER frequency, before, after;
    ok(QueryPerformanceFrequency(&frequency), "QueryPerformanceFrequency failed");
    ok(frequency.QuadPart > 0, "the counter's frequency is %lld", (long long)frequency.QuadPart);
    ok(QueryPerformanceCounter(&before), "QueryPerformanceCounter failed");
    Sleep(30);
    ok(QueryPerformanceCounter(&after), "QueryPerformanceCounter failed");
    long long elapsedMs = frequency.QuadPart > 0 ? (after.QuadPart - before.QuadPart) * 1000 / frequency.QuadPart : 0;
    // Sleep may end a little early by the counter's reckoning, never much.
    ok(elapsedMs >= 25, "Sleep(30) let %lld ms pass on the counter", elapsedMs);
}
