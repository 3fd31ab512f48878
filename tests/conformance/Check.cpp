#include "Check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace conformance {

namespace {

struct Totals {
    int checks = 0;
    int failures = 0;
    int todos = 0;
    int followingWine = 0;  // checks in groups that follow a case of Wine's tests
};

std::vector<TestCase>& registry() {
    static std::vector<TestCase> cases;
    return cases;
}

Totals totals;
const char* todoReason = nullptr;
const TestCase* current = nullptr;

const char* baseName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    const char* backslash = std::strrchr(path, '\\');
    const char* last = slash > backslash ? slash : backslash;
    return last ? last + 1 : path;
}

bool selected(const TestCase& test, int argc, char** argv) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], test.name) == 0) return true;
    return false;
}

const char* platformName() {
#ifdef _WIN32
    return runningOnWine() ? (sizeof(void*) == 8 ? "Wine, 64-bit" : "Wine, 32-bit") : "Windows";
#else
    return "the layer";
#endif
}

}  // namespace

Registration::Registration(const char* name, const char* wineCase, void (*run)()) {
    registry().push_back(TestCase{name, wineCase, run});
}

bool runningOnWine() {
#ifdef _WIN32
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

void check(bool condition, const char* file, int line, const char* format, ...) {
    ++totals.checks;
    if (current && current->wineCase) ++totals.followingWine;
    bool todo = todoReason && runningOnWine();
    bool failed = todo ? condition : !condition;
    if (todo && !condition) ++totals.todos;
    if (!failed && !(todo && !condition)) return;
    char message[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    const char* test = current ? current->name : "?";
    if (failed) {
        ++totals.failures;
        std::printf("%s:%d: %s: Test %s: %s\n", baseName(file), line, test,
                    todo ? "succeeded inside todo block" : "failed", message);
    } else {
        std::printf("%s:%d: %s: Test marked todo: %s (Wine: %s)\n", baseName(file), line, test, message, todoReason);
    }
    std::fflush(stdout);
}

TodoWine::TodoWine(const char* reason) : reason_(todoReason) { todoReason = reason; }
TodoWine::~TodoWine() { todoReason = reason_; }

int runTests(int argc, char** argv) {
    int groups = 0;
    for (const TestCase& test : registry()) {
        if (!selected(test, argc, argv)) continue;
        ++groups;
        current = &test;
        test.run();
        current = nullptr;
    }
    if (groups == 0) {
        std::printf("no test group matches the names given\n");
        return 2;
    }
    std::printf(
        "conformance on %s: %d groups, %d checks (%d following cases of Wine's own tests): %d passed, %d "
        "failed, %d todo\n",
        platformName(), groups, totals.checks, totals.followingWine, totals.checks - totals.failures - totals.todos,
        totals.failures, totals.todos);
    std::fflush(stdout);
    return totals.failures == 0 ? 0 : 1;
}

}  // namespace conformance
