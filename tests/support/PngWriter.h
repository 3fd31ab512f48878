// A minimal PNG writer for looking at frames: 8-bit RGBA, stored (not
// compressed) deflate blocks, so it needs no library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

bool writePng(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
