// The program's resources as the layer serves them to FindResourceA,
// LoadBitmapA and LoadImageA: a table generated from the resource script.
#pragma once

#include <cstddef>

namespace layer {

struct ResourceEntry {
    int id;
    const char* type;  // "BITMAP" (a BMP without its file header) or a custom type name
    const unsigned char* data;
    std::size_t size;
};

void installResources(const ResourceEntry* entries, std::size_t count);

}  // namespace layer

// Generated from the resource script and linked into the program.
extern const layer::ResourceEntry programResources[];
extern const std::size_t programResourceCount;
