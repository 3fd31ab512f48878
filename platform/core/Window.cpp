#include "Window.h"

#include <algorithm>

namespace layer {

Window::Window(int w, int h) : LayerObject(ObjectKind::Window), width(w), height(h), surface(w, h, false) {}

void Window::markChanged(int top, int bottom) {
    top = std::max(top, 0);
    bottom = std::min(bottom, height);
    if (top >= bottom) return;
    if (changed.empty()) {
        changed = Rows{top, bottom};
        return;
    }
    changed = Rows{std::min(changed.top, top), std::max(changed.bottom, bottom)};
}

Window::Rows Window::takeChanged() {
    Rows taken = changed;
    changed = Rows{};
    return taken;
}

bool Window::accepts(int clientX, int clientY) const {
    if (clientX < 0 || clientY < 0 || clientX >= width || clientY >= height) return false;
    return !region || region->contains(clientX, clientY);
}

}  // namespace layer
