// The layer's diagnostics: one channel per area, all off unless the
// environment asks for them, as Wine's WINEDEBUG does:
//
//   BRISKO_DEBUG=window,gdi   or   BRISKO_DEBUG=all
//
// Each line goes to stderr as "layer:<channel>: <what happened>". What the
// program's user is told is not said here.
#pragma once

namespace layer::debug {

enum class Channel { Window, Message, Gdi, Region, Resource, Count };

bool enabled(Channel channel);

void trace(Channel channel, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Reads the variable again (for tests that set it).
void reload();

}  // namespace layer::debug

// Formats nothing when the channel is off.
#define LAYER_TRACE(channel, ...)                                                 \
    do {                                                                          \
        if (::layer::debug::enabled(::layer::debug::Channel::channel))            \
            ::layer::debug::trace(::layer::debug::Channel::channel, __VA_ARGS__); \
    } while (0)
