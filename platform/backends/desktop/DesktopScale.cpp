#include "DesktopScale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

namespace layer {

namespace {

constexpr double standardDpi = 96.0;

std::optional<int> wholeNumber(const char* text) {
    if (!text || !*text) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1) return std::nullopt;
    return int(std::min<long>(value, DesktopScale::largest));
}

std::optional<double> xftDpi(const char* resourceDatabase) {
    if (!resourceDatabase) return std::nullopt;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resourceDatabase);
    if (!database) return std::nullopt;
    char* type = nullptr;
    XrmValue value{};
    std::optional<double> dpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr) {
        char* end = nullptr;
        double parsed = std::strtod(value.addr, &end);
        if (end != value.addr && std::isfinite(parsed)) dpi = parsed;
    }
    XrmDestroyDatabase(database);
    return dpi;
}

}  // namespace

int DesktopScale::choose(const char* gdkScale, const char* resourceDatabase) {
    if (std::optional<int> scale = wholeNumber(gdkScale)) return *scale;
    std::optional<double> dpi = xftDpi(resourceDatabase);
    if (!dpi) return 1;
    // Clamped while still a double: a value beyond an int's range has no
    // int to convert to.
    return int(std::clamp(std::floor(*dpi / standardDpi), 1.0, double(largest)));
}

// The resources are read on a connection of their own, opened and closed
// here: SDL does not hand out its own until a window exists.
int DesktopScale::ofDesktop() {
    const char* gdkScale = std::getenv("GDK_SCALE");
    if (wholeNumber(gdkScale)) return choose(gdkScale, nullptr);
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    const char* resources = XResourceManagerString(display);
    std::string copy = resources ? resources : "";
    XCloseDisplay(display);
    return choose(nullptr, resources ? copy.c_str() : nullptr);
}

}  // namespace layer
