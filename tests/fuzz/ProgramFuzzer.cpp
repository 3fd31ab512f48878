// libFuzzer entry: each input is played through the whole program (see
// InputScript.h for how bytes become steps); a broken invariant aborts with
// its description, as a crash found by the sanitizers does.
#include <cstdio>
#include <cstdlib>

#include <sanitizer/lsan_interface.h>

#include "InputScript.h"

namespace {

void abortOnViolation(const std::string& what) {
    std::fprintf(stderr, "brisko invariant broken: %s\n", what.c_str());
    std::abort();
}

}  // namespace

// One run of a few frames before the first input: the first frame's text
// loads the system's font configuration into the layer's font engine, once
// for the process. Fontconfig keeps parts of it through encoded offsets that
// the leak check after an input cannot follow, so what this run allocates
// is not counted as leaked.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    __lsan::ScopedDisabler processWideCaches;
    static const uint8_t aFewFrames[] = {0x06, 0x10};  // wait 64 ms
    inputscript::play(aFewFrames, sizeof aFewFrames, abortOnViolation);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    inputscript::play(data, size, abortOnViolation);
    return 0;
}
