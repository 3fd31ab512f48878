// The program starts on the desktop backend.
#include "DesktopBackend.h"

namespace layer {

std::unique_ptr<Backend> makeDefaultBackend() { return std::make_unique<DesktopBackend>(); }

}  // namespace layer
