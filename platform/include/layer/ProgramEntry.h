// Where the program's fate is decided: WinMain called as Windows calls it,
// and, when it ended without ever opening its window, the one line that
// tells the user why. The layer's calls only record why a window was
// refused; saying so to the user is the entry point's part.
#pragma once

#include <windows.h>

#include <cstdio>

namespace layer {

// The reason the last refused CreateWindowExA gave, when no window was ever
// opened; null otherwise.
const char* windowRefusal();

inline int runProgram(int showCommand) {
    int code = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), showCommand);
    if (const char* why = windowRefusal()) std::fprintf(stderr, "brisko: cannot open its window: %s\n", why);
    return code;
}

}  // namespace layer
