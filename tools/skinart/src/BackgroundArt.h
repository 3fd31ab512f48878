#pragma once

#include "Image.h"
#include "Painter.h"
#include "WindowRegion.h"

// The 326 x 272 face of the device. The shell follows the window region:
// its edge pixels are the dark outline and the bevel light/shade is derived
// from the same rectangles, so the art cannot drift from the window's shape.
class BackgroundArt {
public:
    static Image paint();

private:
    BackgroundArt(Image& canvas, const WindowRegion& region);

    void paintShell();
    void paintShellBevel();
    void paintSpeakerGrille();
    void paintBadge();
    void paintVents();
    void paintScrews();
    void paintScrew(int left, int top);
    void paintScrewPixel(int x, int y, char code);
    void paintDisplay();
    void paintButtonPlates();
    void paintScrollColumn();
    void paintTrack(const Rect& track);
    void paintVolumeColumn();
    void paintSpeakerIcon(int left, int top);
    void paintReadout();
    void paintAnimationBed();
    void paintSidePanel();
    void paintOutlineAndOutside();

    // Engraved marks: a dark pixel with a light one below-right, so they
    // look cut into the shell under light from the top left.
    void engrave(int x, int y);
    // A recessed area: a one-pixel sunken ring just outside `area`.
    void recess(const Rect& area);
    void plate(const Rect& area, Rgb colour);

    Image& canvas_;
    Painter painter_;
    const WindowRegion& region_;
};
