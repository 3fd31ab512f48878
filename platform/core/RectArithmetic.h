// Rectangle and coordinate arithmetic that cannot overflow: every value is
// clamped into range edge by edge before anything is subtracted or scaled,
// so a rectangle from a program (a region edge at -40000, a position near
// INT_MAX) never wraps into something far from what it asked for.
#pragma once

#include <windows.h>

namespace layer {

// value * scale, held to the range of an int.
int scaledCoordinate(long long value, int scale);

// Each edge times scale, held to the range of an int.
RECT scaledRect(const RECT& rect, int scale);

// value + offset, held to the range of an int.
int offsetCoordinate(long long value, long long offset);

// The rectangle of that size at (x, y), its far edges held to the range of
// an int (a window placed near INT_MAX does not wrap round to the left).
RECT rectAt(int x, int y, int width, int height);

// One axis of a rectangle as a 16-bit origin and extent (the X protocol's
// XRectangle): both edges are clamped to the 16-bit range first, so the
// extent is the part of [low, high) that the range can hold, never a
// wrapped width; an empty or inverted span has extent 0.
struct Span16 {
    short origin = 0;
    unsigned short extent = 0;
};
Span16 toSpan16(long long low, long long high);

}  // namespace layer
