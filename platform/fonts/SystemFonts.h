#pragma once

#include "fonts/FontRequest.h"
#include "fonts/RasterFont.h"

#include <memory>

namespace layer {

// The font the system has for a request: through fontconfig and FreeType on
// the desktop, through the browser on a web page. Each build links one.
// Null only when no font at all can be had.
std::shared_ptr<const RasterFont> openSystemFont(const FontRequest& request);

}  // namespace layer
