// kernel32: MulDiv's rounding and overflow, and the performance counter on the
// virtual clock that Sleep moves.
#include <climits>

#include "LayerTestSupport.h"

namespace {

struct MulDivCase {
    int number, numerator, denominator;
    int expected;
};

TEST(MulDiv, RoundsHalfAwayFromZeroAndFailsOutsideThirtyTwoBits) {
    const MulDivCase cases[] = {
        {1, 1, 2, 1},
        {-1, 1, 2, -1},
        {-3, 1, 2, -2},
        {3, 1, 2, 2},
        {5, 1, -2, -3},
        {-5, 1, -2, 3},
        {2, 1, 4, 1},
        {-2, 1, 4, -1},
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {-2, 1, 3, -1},
        {7, 96, 72, 9},
        {7, 120, 72, 12},
        {-7, 120, 72, -12},
        {7, -96, 72, -9},
        {0, 5, 7, 0},
        // the product is kept in 64 bits
        {0x40000000, 2, 2, 0x40000000},
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {100000, 100000, 1000, 10000000},
        // a zero divisor, and quotients outside 32 bits
        {7, 3, 0, -1},
        {0, 5, 0, -1},
        {0x40000000, 2, 1, -1},
        {0x40000000, -4, 1, -1},
        {INT_MIN, -1, 1, -1},
        {INT_MAX, INT_MAX, 1, -1},
    };
    for (const MulDivCase& c : cases)
        EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
            << "MulDiv(" << c.number << ", " << c.numerator << ", " << c.denominator << ")";
}

class VirtualClock : public LayerTest {};

TEST_F(VirtualClock, CounterAdvancesByWhatSleepSleptAtAnyFrequency) {
    for (LONGLONG frequency : {LONGLONG(10'000'000), LONGLONG(1000), LONGLONG(3'579'545)}) {
        SCOPED_TRACE("frequency " + std::to_string(frequency));
        layer::testing::resetHeadless();
        layer::headless::setCounterFrequency(frequency);
        LARGE_INTEGER reported{}, before{}, unchanged{}, after{};
        ASSERT_TRUE(QueryPerformanceFrequency(&reported));
        EXPECT_EQ(reported.QuadPart, frequency);
        ASSERT_TRUE(QueryPerformanceCounter(&before));
        ASSERT_TRUE(QueryPerformanceCounter(&unchanged));
        EXPECT_EQ(unchanged.QuadPart, before.QuadPart) << "virtual time passes only when something moves it";
        Sleep(0);
        Sleep(1000);
        ASSERT_TRUE(QueryPerformanceCounter(&after));
        EXPECT_EQ(after.QuadPart - before.QuadPart, frequency) << "one second of sleep is one second of counter";
        EXPECT_EQ(layer::headless::nowMs(), 1000u);
    }
}

TEST_F(VirtualClock, SleepsAddUpAndAdvanceClockMovesTheCounterToo) {
    LARGE_INTEGER frequency{}, start{}, end{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    ASSERT_TRUE(QueryPerformanceCounter(&start));
    EXPECT_EQ(start.QuadPart, 0) << "a reset starts the clock at zero";
    for (int i = 0; i < 40; ++i) Sleep(25);
    layer::headless::advanceClock(500);
    ASSERT_TRUE(QueryPerformanceCounter(&end));
    EXPECT_EQ(end.QuadPart - start.QuadPart, frequency.QuadPart * 3 / 2);
}

TEST_F(VirtualClock, NullArgumentsFail) {
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}

}  // namespace
