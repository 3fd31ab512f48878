// The program starts on the web backend.
#include "WebBackend.h"

namespace layer {

std::unique_ptr<Backend> makeDefaultBackend() { return std::make_unique<WebBackend>(); }

}  // namespace layer
