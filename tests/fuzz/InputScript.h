// A run of bytes played through the whole program, WinMain to its return, on
// the headless backend. The bytes decode into steps: pointer moves, presses,
// releases, clicks and drags (at the controls, anywhere over the window or
// anywhere on a 16-bit screen, with any Shift and Ctrl state), waits, jumps
// of the clock, about-box dismissals, restores of the minimised window and a
// close request. Every input is a valid script: missing bytes read as zero,
// and the script always ends with a close request.
//
// Each step starts a frame after the last event of the one before, and the
// events within a click or a drag are checked between too, so the program's
// invariants (checked at the start of every step, before each event of a
// click or drag, and once the program has returned) see the state after
// every event that virtual time separated from the next, a frame or more.
//
// Encoding, one step at a time (see also make_corpus.py):
//   op byte: kind = op & 7, Shift = op & 0x08, Ctrl = op & 0x10,
//            delay before the step = delays[op >> 5] ms
//     0 move to P          1 press at P          2 release at P
//     3 click: press at P, release there after (next byte & 63) ms
//     4 drag: press at P, then byte s: (s & 7) + 1 moves to Q, 20 ms apart
//       (10 ms when s & 8), and the release at Q after as long again
//     5 dismiss the about box (op & 0x08: restore the minimised window instead)
//     6 time: byte b < 0xF0 waits 4 b ms; b >= 0xF0 jumps the clock, to
//       (next byte) * 4 ms before the low 32 bits of the frame clock wrap
//       (b odd: forward (next byte) * 65536 ms instead)
//     7 op == 7: close request, the end of the script; otherwise wait (op >> 3) * 20 ms
//   point P: byte w, then
//     w < 0xC0: target w % 16 (info, close, minimise, pause, play, stop,
//               record, down, up, the scroll thumb twice and the volume thumb
//               twice where they are now, three spots of bare skin), then
//               byte j: its top-left corner + ((j & 15) - 2, (j >> 4) - 2)
//     w < 0xF0: client x = byte + 256 (w & 1) - 64, y = byte + 256 ((w >> 1) & 1) - 64
//     else:     screen x, y as two little-endian 16-bit signed numbers
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace inputscript {

// Told the first invariant that does not hold. If it returns, the run goes
// on to its end: the script stops and the program is asked to close.
using ViolationHandler = std::function<void(const std::string& what)>;

struct Outcome {
    int exitCode = -1;
    int steps = 0;          // steps decoded and scheduled
    int checks = 0;         // times the invariants were checked
    std::string violation;  // the first one, empty when all held
};

Outcome play(const uint8_t* data, std::size_t size, const ViolationHandler& onViolation);

// The invariants on the program's state as it is now; empty when they hold.
std::string brokenInvariant();

}  // namespace inputscript
