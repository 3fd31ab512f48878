#pragma once

#include "Image.h"
#include "Rect.h"
#include "RgbaImage.h"
#include "WindowRegion.h"

// The program's icon: the window at rest, cut out along its region and
// shrunk into a square, so the icon looks like the window the user sees.
class IconArt {
public:
    // Draws `area` of `window` (the window at rest) into a size x size
    // icon. The area keeps its proportions and sits in the middle. Each
    // icon pixel averages the window pixels it covers, weighted by how much
    // of each it covers; pixels outside the region count as transparent, so
    // the outline is smooth at every size. Integer arithmetic throughout, so
    // every build writes the same bytes.
    static RgbaImage icon(const Image& window, const WindowRegion& region, const Rect& area, int size);
};
