// Rectangles from a program turned into X's 16-bit shapes and scaled for a
// dense screen: every edge is clamped before anything is subtracted, so no
// rectangle wraps into one far from what was asked for.
#include <gtest/gtest.h>

#include <climits>

#include "RectArithmetic.h"

namespace {

struct SpanCase {
    const char* what;
    long long low, high;
    short origin;
    unsigned short extent;
};

class Spans16 : public testing::TestWithParam<SpanCase> {};

TEST_P(Spans16, HoldWhatTheRangeCanOfTheSpanAsked) {
    const SpanCase& c = GetParam();
    layer::Span16 span = layer::toSpan16(c.low, c.high);
    EXPECT_EQ(span.origin, c.origin) << c.what;
    EXPECT_EQ(span.extent, c.extent) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Edges, Spans16,
                         testing::Values(SpanCase{"inside the range", 27, 299, 27, 272},
                                         SpanCase{"empty", 10, 10, 10, 0}, SpanCase{"inverted", 10, 5, 10, 0},
                                         // The width from the unclamped left edge, 40010, would reach 7242.
                                         SpanCase{"a left edge far below the range", -40000, 10, SHRT_MIN, 32778},
                                         SpanCase{"a right edge far above it", 30000, 400000, 30000, 2767},
                                         SpanCase{"both edges beyond it, below", -90000, -50000, SHRT_MIN, 0},
                                         SpanCase{"both edges beyond it, above", 50000, 90000, SHRT_MAX, 0},
                                         SpanCase{"the whole of int", INT_MIN, INT_MAX, SHRT_MIN, USHRT_MAX}),
                         [](const testing::TestParamInfo<SpanCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(ScaledRect, EachEdgeTimesTheScaleHeldToTheRangeOfAnInt) {
    RECT scaled = layer::scaledRect(RECT{-3, 4, 326, 272}, 3);
    EXPECT_EQ(scaled.left, -9);
    EXPECT_EQ(scaled.top, 12);
    EXPECT_EQ(scaled.right, 978);
    EXPECT_EQ(scaled.bottom, 816);
    RECT huge = layer::scaledRect(RECT{INT_MIN, -1000000000, 1000000000, INT_MAX}, 3);
    EXPECT_EQ(huge.left, INT_MIN);
    EXPECT_EQ(huge.top, INT_MIN);
    EXPECT_EQ(huge.right, INT_MAX);
    EXPECT_EQ(huge.bottom, INT_MAX);
    EXPECT_EQ(layer::scaledCoordinate(INT_MAX, 1), INT_MAX);
    EXPECT_EQ(layer::scaledCoordinate(-5, 0), 0);
}

}  // namespace
