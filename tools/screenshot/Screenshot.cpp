// Renders the window on the headless backend and writes it as a PNG, the
// pixels outside the window's region transparent. With --playing, play is
// on, the volume lowered and the scroll thumb stepped down first, so that
// the picture shows the controls in use.
//
//   brisko_screenshot out.png [--playing] [--at MILLISECONDS]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ProgramHarness.h"
#include "layer/Headless.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s out.png [--playing] [--at MILLISECONDS]\n", argv[0]);
        return 2;
    }
    std::string path = argv[1];
    bool playing = false;
    uint64_t shotAt = 1000;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--playing") == 0) playing = true;
        if (std::strcmp(argv[i], "--at") == 0 && i + 1 < argc) shotAt = std::strtoull(argv[++i], nullptr, 10);
    }
    ProgramHarness program;
    if (playing) {
        program.click(100, 156, 61);  // play
        program.press(200, 39, 80);   // drag the volume down a third
        program.move(240, 39, 100);
        program.release(280, 39, 100);
        for (int i = 0; i < 6; ++i) program.click(300 + 60 * uint64_t(i), 210, 185);  // scroll down
        shotAt = std::max<uint64_t>(shotAt, 1000);
    }
    bool saved = false;
    program.at(shotAt, [&] { saved = saveWindowPng(path); });
    program.close(shotAt + 20);
    int code = program.run();
    if (!saved) std::fprintf(stderr, "could not write %s\n", path.c_str());
    return saved ? code : 1;
}
