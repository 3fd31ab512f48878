// What tests may ask of the layer beyond the Win32 calls: a fresh start, the
// program's resources, hidden resources and failing creations.
#pragma once

#include <cstddef>
#include <cstdint>

#include "layer/Resources.h"

namespace layer {

// Calls of the layer that create something; each can be made to fail.
enum class Creation { WindowClass, Window, Bitmap, DeviceContext, Region, Font, Count };

namespace testing {

// Forgets every object, window, class, message and failure, and installs the
// headless backend with a fresh virtual clock. Resources stay installed.
void resetHeadless();

// Makes one resource invisible to FindResourceA until the next reset.
void hideResource(int id);

// The nth call (1-based, counted from the last reset) creating this kind of
// object fails as on Windows, returning a null handle.
void failCreation(Creation kind, int nth);

std::size_t liveObjects();

// How many calls creating this kind of object were made since the last reset.
int creationCount(Creation kind);

}  // namespace testing
}  // namespace layer
