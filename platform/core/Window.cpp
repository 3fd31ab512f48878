#include "Window.h"

namespace layer {

Window::Window(int w, int h) : LayerObject(ObjectKind::Window), width(w), height(h), surface(w, h, false) {}

bool Window::accepts(int clientX, int clientY) const {
    if (clientX < 0 || clientY < 0 || clientX >= width || clientY >= height) return false;
    return !region || region->contains(clientX, clientY);
}

}  // namespace layer
