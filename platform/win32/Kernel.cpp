// kernel32: the performance counter, sleeping and MulDiv.
#include <windows.h>

#include "Layer.h"

using layer::Layer;

extern "C" {

BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = Layer::get().backend().counterFrequency();
    return TRUE;
}

BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
    if (!count) return FALSE;
    count->QuadPart = Layer::get().backend().counter();
    return TRUE;
}

void WINAPI Sleep(DWORD milliseconds) { Layer::get().backend().sleep(milliseconds); }

// The 64-bit product divided with rounding half away from zero. A zero
// divisor, or a quotient beyond +-INT32_MAX, gives -1: as on Windows,
// INT32_MIN counts as an overflow too.
int WINAPI MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) return -1;
    int64_t product = int64_t(number) * numerator;
    int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    int64_t half = divisor / 2;
    int64_t quotient = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    if (quotient > INT32_MAX || quotient < -INT32_MAX) return -1;
    return int(quotient);
}

}  // extern "C"
