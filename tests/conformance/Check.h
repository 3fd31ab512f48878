// The conformance suite's checks: plain Win32 programs whose every check
// prints a line on failure and is counted, in the manner of Wine's own tests,
// so that one source runs against the layer and against Windows (here, Wine
// standing in for it) and both runs can be compared line for line.
//
//   ok(condition, "what was expected, got %d", value);
//   todo_wine("why Wine differs here") { ok(...); }
//
// A check inside todo_wine states what Windows does where Wine, the stand-in,
// is known to do otherwise: under Wine its failure is counted as "todo" and
// its success as a failure (the difference has gone and the mark must go
// too); everywhere else it is an ordinary check.
#pragma once

#include <windows.h>

namespace conformance {

// A group of checks; `wineCase` names the case of Wine's own tests
// (dlls/<dll>/tests/<file>: <function>) that the group follows, or is null.
struct TestCase {
    const char* name;
    const char* wineCase;
    void (*run)();
};

class Registration {
public:
    Registration(const char* name, const char* wineCase, void (*run)());
};

// True when the program runs under Wine rather than on Windows or the layer.
bool runningOnWine();

void check(bool condition, const char* file, int line, const char* format, ...) __attribute__((format(printf, 4, 5)));

// Marks the checks made while it lives as a known difference of Wine.
class TodoWine {
public:
    explicit TodoWine(const char* reason);
    ~TodoWine();
    bool once() { return !done_ && (done_ = true); }

private:
    const char* reason_;
    bool done_ = false;
};

// Runs the named groups (all of them when none are named) and prints the
// totals; the process's exit code is nonzero when any check failed.
int runTests(int argc, char** argv);

}  // namespace conformance

#define CONFORMANCE_JOIN2(a, b) a##b
#define CONFORMANCE_JOIN(a, b) CONFORMANCE_JOIN2(a, b)

// A group of checks, optionally following a case of Wine's own tests.
#define TEST_CASE(name, wineCase)                                                                        \
    static void name();                                                                                  \
    static const conformance::Registration CONFORMANCE_JOIN(registration_, name)(#name, wineCase, name); \
    static void name()

#define ok(condition, ...) conformance::check((condition), __FILE__, __LINE__, __VA_ARGS__)
#define todo_wine(reason) for (conformance::TodoWine todoWine_(reason); todoWine_.once();)
