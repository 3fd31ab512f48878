// The program starts on the Wayland backend when the session's compositor
// offers xdg-shell, otherwise on the desktop (X11) backend;
// BRISKO_BACKEND=x11 or wayland chooses.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "DesktopBackend.h"
#include "WaylandBackend.h"
#include "WaylandConnection.h"

namespace layer {

std::unique_ptr<Backend> makeDefaultBackend() {
    const char* chosen = std::getenv("BRISKO_BACKEND");
    std::string_view choice = chosen ? chosen : "";
    if (choice == "wayland") return std::make_unique<WaylandBackend>();
    if (choice == "x11") return std::make_unique<DesktopBackend>();
    if (!choice.empty())
        std::fprintf(stderr, "brisko: BRISKO_BACKEND=%s is neither x11 nor wayland; choosing by the session\n", chosen);
    if (WaylandConnection::sessionOffersShell()) return std::make_unique<WaylandBackend>();
    return std::make_unique<DesktopBackend>();
}

}  // namespace layer
