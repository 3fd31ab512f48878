#include "Debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace layer::debug {

namespace {

constexpr const char* channelNames[] = {"window", "message", "gdi", "region", "resource"};
static_assert(std::size(channelNames) == std::size_t(Channel::Count));

struct Switches {
    bool on[std::size_t(Channel::Count)] = {};
    bool read = false;
};

Switches switches;

// A comma-separated list of channel names, or "all"; unknown names are
// ignored, as a misspelt channel should not stop the program.
void readVariable() {
    switches = Switches{};
    switches.read = true;
    const char* value = std::getenv("BRISKO_DEBUG");
    if (!value) return;
    std::string list = value;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        std::string name = list.substr(start, end - start);
        for (std::size_t i = 0; i < std::size(channelNames); ++i)
            if (name == "all" || name == channelNames[i]) switches.on[i] = true;
        start = end + 1;
    }
}

}  // namespace

bool enabled(Channel channel) {
    if (!switches.read) readVariable();
    return switches.on[std::size_t(channel)];
}

void trace(Channel channel, const char* format, ...) {
    if (!enabled(channel)) return;
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "layer:%s: %s\n", channelNames[std::size_t(channel)], line);
}

void reload() { readVariable(); }

}  // namespace layer::debug
