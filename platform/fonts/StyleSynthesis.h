#pragma once

namespace layer {

// Style effects that have to be faked because the matched font file lacks
// them, the way GDI simulates bold and italic for families that ship only a
// regular face.
struct StyleSynthesis {
    bool embolden = false;
    bool oblique = false;

    bool operator==(const StyleSynthesis&) const = default;

    // Weights are on the OpenType/LOGFONT scale (400 normal, 700 bold). A face
    // is emboldened only when a bold-ish weight (600+) was asked for and the
    // face itself is lighter than that; a heavier face is never thinned, and
    // nothing is faked for an italic request that found an italic face.
    static StyleSynthesis needed(int requestedWeight, bool requestedItalic, int faceWeight, bool faceItalic);
};

}  // namespace layer
