// Test binaries start on the headless backend.
#include "HeadlessBackend.h"

namespace layer {

std::unique_ptr<Backend> makeDefaultBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace layer
