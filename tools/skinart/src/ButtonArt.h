#pragma once

#include "Image.h"

// The push buttons, normal and pressed. Two pressed styles exist because the
// buttons sit differently on the shell: keys set into a plate (transport,
// scroll arrows) sink in place, while the caps on the dome (close, minimise)
// drop by a pixel under their top edge.
class ButtonArt {
public:
    enum class Transport { Play, Stop, Pause, Record };
    enum class Arrow { Up, Down };

    static constexpr int kTransportSize = 11;
    static constexpr int kArrowSize = 7;

    static Image transport(Transport symbol, bool pressed);
    static Image arrow(Arrow direction, bool pressed);
    static Image close(bool pressed);
    static Image minimise(bool pressed);
    static Image info(bool pressed);

    // The cap look for pressed: the picture one pixel lower, the row it
    // uncovers at the top drawn as a dark line.
    static Image droppedOneRow(const Image& normal);

private:
    static void paintKey(Image& key, bool pressed);
    static void paintCap(Image& cap);
};
