#pragma once

// What a control does when it is released: a plain function, so that actions
// reach the controls they affect through the program's globals.
using Action = void (*)();

// The action every control starts with.
void noAction();
