// The title cards that present the production one after another, and the finale's logo.
#pragma once

class OverlayCanvas;

class TitleOverlay
{
public:
    // The name, alone and large, over a horizon line.
    static void paintName(OverlayCanvas& a_canvas);
    // The "2": a giant numeral in the sun's colours, striped like the sun.
    static void paintNumber(OverlayCanvas& a_canvas);
    // What the production is, in two lines.
    static void paintSubtitle(OverlayCanvas& a_canvas);
    // The finale's logo: the name with its superscript "2" over a striped sun on the horizon.
    static void paintLogo(OverlayCanvas& a_canvas);
};
